-- ardour7-lua ardourresave.lua DIR NAME [DIR NAME ...]
-- Loads each session with Ardour's own session code, without a sound card, and saves it again as
-- the snapshot "resaved". A session that does not load gets no snapshot.
AudioEngine:set_backend("None (Dummy)", "", "")
for i = 1, #arg, 2 do
  local session = load_session(arg[i], arg[i + 1])
  if session then
    session:save_state("resaved", false, false, false, false, false)
    close_session()
  end
end
