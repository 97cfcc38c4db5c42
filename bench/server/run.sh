#!/usr/bin/env bash
# Measures twirlstick-server with wrk on 127.0.0.1: top-10 reads per second and verified
# submissions per second, with p50 and p99. Not a test: it prints wrk's reports.
#   bench/server/run.sh BUILD_FOLDER [sqlite|postgresql://...]   (default sqlite, in a temporary folder)
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
data=$here/../../data
folder=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -rf "$folder"' EXIT
db=${2:-sqlite:$folder/records.db}
port=${PORT:-$((20000 + RANDOM % 20000))} # not 8080: make serve may be running
"$build/game/twirlstick-server" --db "$db" --listen 127.0.0.1:$port --data "$data" --write-rate 0 \
  --workers "${WORKERS:-8}" > "$folder/log" 2>&1 &
pid=$!
api=http://127.0.0.1:$port/api/v1
until curl -sf "$api/health" > /dev/null; do sleep 0.1; done
mapfile -t ids < <(curl -s "$api/stages" | python3 -c 'import json,sys
for s in json.load(sys.stdin)["stages"][:10]: print(s["id"])')
# 2,500 players, each line one player's first run of one stage.
python3 - "$api" "${ids[@]}" > "$folder/requests" <<'PY'
import json, sys, urllib.request
api, ids = sys.argv[1], sys.argv[2:]
for i in range(2500):
    req = urllib.request.Request(api + "/players", data=json.dumps({"name": "bench%d" % i}).encode(), method="POST")
    token = json.load(urllib.request.urlopen(req))["token"]
    for n, stage in enumerate(ids, 1):
        print(n, stage, token)
PY
# A ranking to read: a hundred runs of stage 1.
head -n 1000 "$folder/requests" | awk '$1 == 1' | while read -r n id token; do
  curl -s -o /dev/null -X POST -H "Authorization: Bearer $token" --data-binary @"$data/solutions/stage1.rep" "$api/stages/$id/runs"
done
tail -n +1001 "$folder/requests" | shuf --random-source=<(yes) > "$folder/requests.rest"
mv "$folder/requests.rest" "$folder/requests"
echo "== top 10 of stage 1 =="
wrk -t2 -c16 -d10s --latency "$api/stages/${ids[0]}/runs?limit=10"
echo "== verified submissions (shipped routes of stages 1-10, each kept) =="
BENCH_FOLDER=$folder DATA_DIR=$data wrk -t2 -c16 -d10s --latency -s "$here/submit.lua" "http://127.0.0.1:$port"
