-- wrk script: verified submissions. Each request is a shipped route (stages 1-10) sent by the
-- next of the prepared players, so every one is a first run of its player on that stage: the
-- server replays it, and keeps it (201) with a commit on disk.
local lines = {}
for line in io.lines(os.getenv("BENCH_FOLDER") .. "/requests") do lines[#lines + 1] = line end
local routes = {}
for n = 1, 10 do
  local f = assert(io.open(os.getenv("DATA_DIR") .. "/solutions/stage" .. n .. ".rep", "rb"))
  routes[n] = f:read("*a")
  f:close()
end
local next = 0
local threads = 0
function setup(thread)
  thread:set("first", threads)
  threads = threads + 1
end
function init()
  next = first
end
function request()
  -- each line: stage number, stage id, token
  local n, id, token = lines[next % #lines + 1]:match("(%d+) (%x+) (%x+)")
  next = next + 2
  return wrk.format("POST", "/api/v1/stages/" .. id .. "/runs",
                    {["Authorization"] = "Bearer " .. token}, routes[tonumber(n)])
end
local statuses = {}
function response(status)
  statuses[status] = (statuses[status] or 0) + 1
end
