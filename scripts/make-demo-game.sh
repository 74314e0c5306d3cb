#!/usr/bin/env bash
# Builds a demonstration game folder whose server program is the simulator kvsim:
#   DEST/System/server.bin      link to BIN_DIR/kvsim
#   DEST/System/Demo.ini        game configuration with a host name
#   DEST/Maps/*.kvo             placeholder map files
#   DEST/System/pb/             anti-cheat configuration, svss/ screenshots (PNG) and svlogs/ logs
# Usage: make-demo-game.sh DEST BIN_DIR
# Existing files in DEST are replaced; nothing outside DEST is touched.
set -euo pipefail

DEST="${1:?usage: make-demo-game.sh DEST BIN_DIR}"
BIN_DIR="${2:?usage: make-demo-game.sh DEST BIN_DIR}"

make_folders() {
    mkdir -p "$DEST/System/pb/svss" "$DEST/System/pb/svlogs" "$DEST/Maps"
}

link_server() {
    local sim
    sim="$(cd "$BIN_DIR" && pwd)/kvsim"
    if [ ! -x "$sim" ]; then
        echo "make-demo-game.sh: $sim not found; build it first" >&2
        exit 1
    fi
    ln -sfn "$sim" "$DEST/System/server.bin"
}

write_maps() {
    local map
    for map in Harbor Depot Ridge Canyon; do
        printf 'KVMAP 1\nTitle=%s\nPlaceholder map for the simulator\n' "$map" > "$DEST/Maps/$map.kvo"
    done
}

write_ini() {
    cat > "$DEST/System/Demo.ini" <<'INI'
[Engine.GameInfo]
ServerName=KV Demo Server
MaxPlayers=24
RoundsPerMatch=5
TimeLimit=20
Port=1716
AdminName=Demo Admin
AdminEmail=admin@example.invalid
GamePassword=
bTournamentMode=False
Maps=Depot.kvo
Maps=Harbor.kvo
MapNum=2
INI
}

write_anticheat() {
    local pb="$DEST/System/pb"
    printf 'pb_sv_enable\npb_sv_SsFreq 5\npb_sv_SsWidth 320\npb_sv_SsHeight 240\npb_sv_KickLen 5\n' > "$pb/pbsv.cfg"
    printf '// administrator additions\npb_sv_task 600 600 "say Welcome to the demo server"\n' > "$pb/pbsvuser.cfg"
    printf 'pb_sv_badname 0 "admin"\n' > "$pb/pbnamelist.cfg"
    printf '[08.01.2026 10:00:00] 0f3a9c Tester "Bad Player" 127.0.0.1:0 Kicked by admin\n' > "$pb/pbbans.dat"
}

# Two small valid PNG files (8 x 6 pixels), standing in for server-side screenshots.
write_screenshots() {
    local ss="$DEST/System/pb/svss"
    printf '\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x08\x00\x00\x00\x06\x08\x02\x00\x00\x00\x71\x67\x48\xac\x00\x00\x00\x67\x49\x44\x41\x54\x78\xda\x0d\xc9\x21\x01\x44\x31\x0c\x05\xc1\x13\xf1\x6d\xd4\x41\x70\x71\xf0\x92\x92\x88\x78\x22\x42\xe2\x20\x38\x36\x6a\xec\x3a\x74\x7e\x9f\xb1\x8c\x6d\x1c\x43\x46\x19\x63\x5c\xe3\xf7\x39\xcb\xd9\xce\x71\xe4\x94\x33\xce\xf5\x17\xc1\x0a\x76\x70\x02\x05\x15\x4c\x70\xe3\x85\x58\x62\x8b\x23\x24\x4a\x8c\xb8\x7a\x91\xac\x64\x27\x27\x51\x52\xc9\x24\x37\x5f\x34\xab\xd9\xcd\x69\xd4\x54\x33\xcd\x6d\xfe\x8d\xb3\x39\xa9\xef\x42\x7a\xa7\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82' > "$ss/pb000001.png"
    printf '\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x08\x00\x00\x00\x06\x08\x02\x00\x00\x00\x71\x67\x48\xac\x00\x00\x00\x63\x49\x44\x41\x54\x78\xda\x0d\xc9\xa1\x01\x44\x31\x08\x44\xc1\xab\x04\xfd\x8a\xa0\x12\x2a\x41\x47\xa3\x57\x47\x47\xaf\x8e\xfe\x65\x5d\xc6\xce\xef\x23\x2e\x61\xe2\x10\x9b\x10\x31\xc4\x22\x7e\x1f\x79\x49\x93\x87\xdc\xa4\xc8\x21\x17\xf9\xa2\x2e\x65\xea\x50\x9b\x12\x35\xd4\xa2\x5e\xf4\xa5\x4d\x1f\x7a\xd3\xa2\x87\x5e\xf4\x0b\x5d\x64\x74\xd0\x46\x42\x83\x16\x7a\xe1\x8b\x8d\x0f\xde\x58\x78\xf0\xc2\x7f\x97\x77\x3a\x21\x94\x35\xb7\x8e\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82' > "$ss/pb000002.png"
    printf 'pb000001.png Ranger1 (0f3a9c) 127.0.0.1 Harbor\npb000002.png Viper1 (77b210) 127.0.0.1 Harbor\n' > "$ss/pbsvss.htm"
}

write_logs() {
    local logs="$DEST/System/pb/svlogs"
    printf '[01.08.2026 10:00:00] Anti-cheat server log started\n[01.08.2026 10:00:05] Player Ranger1 connected\n' > "$logs/m0108-00000.log"
    printf '[01.09.2026 18:30:00] Anti-cheat server log started\n[01.09.2026 18:31:12] Screenshot pb000002.png requested\n' > "$logs/m0109-00000.log"
}

make_folders
link_server
write_maps
write_ini
write_anticheat
write_screenshots
write_logs
echo "Demo game folder ready: $DEST"
