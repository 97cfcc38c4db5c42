#include "server/Store.h"

std::unique_ptr<Store> openStore(const std::string& address) {
    if (address.starts_with("sqlite:")) return openSqliteStore(address.substr(7));
    if (address.starts_with("postgresql://") || address.starts_with("postgres://"))
        return openPostgresStore(address);
    throw std::invalid_argument("--db takes sqlite:PATH or postgresql://...: " + address);
}
