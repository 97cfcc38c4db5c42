#include "server/Store.h"

std::unique_ptr<Store> openStore(const std::string& spec) {
    if (spec.starts_with("sqlite:")) return openSqliteStore(spec.substr(7));
    if (spec.starts_with("postgresql://") || spec.starts_with("postgres://")) return openPostgresStore(spec);
    throw std::invalid_argument("--db takes sqlite:PATH or postgresql://...: " + spec);
}
