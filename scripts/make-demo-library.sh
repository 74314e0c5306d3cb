#!/usr/bin/env bash
# Writes a manager working folder with a dozen varied server setups (standard and tournament, single maps and
# rotations, LAN and Internet), so that the manager opens on a library that shows every kind of tree node.
# Setups already there are left alone. Usage: make-demo-library.sh WORKDIR
set -euo pipefail

WORK="${1:?usage: make-demo-library.sh WORKDIR}"
SETUPS="$WORK/Server Setups"
mkdir -p "$SETUPS"

# setup FILE-TITLE KEY=VALUE...: one setup file with CR LF lines, as the manager writes them.
setup() {
    local file="$SETUPS/$1.ServerConfig"
    shift
    [ -e "$file" ] && return 0
    printf 'm_csName=%s\r\n' "$(basename "$file" .ServerConfig)" > "$file"
    printf '%s\r\n' "$@" >> "$file"
}

setup "Friday Night Cinder Pass" m_csMapName="Cinder Pass" m_csMapFile=KV-CinderPass.kvo m_csServerName="Friday Night Ops" \
    m_iMaxPlayers=24 m_iMaxTeamSize=12 m_csAdminPassword=change-me m_csPlayerAdminList="Ann&Bob&" \
    "m_csSetupDescription=Casual games every Friday from 20:00.<BR>Bring a headset."
setup "Cinder Pass Quick Rounds" m_csMapName="Cinder Pass" m_csMapFile=KV-CinderPass.kvo m_iRoundLength=5 \
    m_iRoundsPerMatch=9 m_csScoreMode=SSM_Round "m_csSetupDescription=Short rounds for a full server."
setup "Redwater Dam Public" m_csMapName="Redwater Dam" m_csMapFile=KV-RedwaterDam.kvo m_iMaxPlayers=32 \
    m_iMaxTeamSize=16 m_iLogChatLevel=2
setup "Glasshollow LAN Party" m_csMapName=Glasshollow m_csMapFile=KV-Glasshollow.kvo m_fLANOnly=1 \
    m_csPlayerPassword=lanparty "m_csSetupDescription=For the basement LAN: no Internet listing."
setup "Harbour Co-op Evenings" m_csMapName="Pale Harbour" m_csMapFile=KV-PaleHarbour.kvo m_iMaxPlayers=8 \
    m_fDisableFragGrenades=1
setup "Northern Rotation" m_fCycleMaps=1 m_acsCycleMapList[0]="Northwatch Ridge" m_acsCycleMapList[1]="Kestrel Airfield" \
    m_acsCycleMapList[2]="Ironspire Keep" "m_csSetupDescription=Three maps of the northern front."
setup "Grand Tour" m_fCycleMaps=1 m_acsCycleMapList[0]="Ashfall Quarry" m_acsCycleMapList[1]="Brinehold Docks" \
    m_acsCycleMapList[2]="Dunmoor Village" m_acsCycleMapList[3]="Eastgate Bridge" m_acsCycleMapList[4]="Harrow Fields"
setup "Weekend Marathon" m_fCycleMaps=1 m_acsCycleMapList[0]="Juniper Station" m_acsCycleMapList[1]="Larkspur Market" \
    m_acsCycleMapList[2]="Mireside Outpost" m_acsCycleMapList[3]="Oldmere Sewers" m_acsCycleMapList[4]="Quillon Heights"
setup "Spring Cup Final" m_fTournamentModeEnabled=1 m_csTournamentEventName="Spring Cup" m_iMaxTeamSize=6 \
    m_csMapName="Redwater Dam" m_csMapFile=KV-RedwaterDam.kvo m_csMatchName=Final \
    "m_csSetupDescription=Final of the spring cup. Referees only in the admin list."
setup "Spring Cup Semi" m_fTournamentModeEnabled=1 m_csTournamentEventName="Spring Cup" m_iMaxTeamSize=6 \
    m_csMapName="Cinder Pass" m_csMapFile=KV-CinderPass.kvo m_csMatchName=Semi
setup "Scrim 5v5" m_fTournamentModeEnabled=1 m_iMaxTeamSize=5 m_csMapName="Saltmarsh Depot" \
    m_csMapFile=KV-SaltmarshDepot.kvo
setup "LAN Tournament 4v4" m_fTournamentModeEnabled=1 m_fLANOnly=1 m_iMaxTeamSize=4 m_csMapName="Thornbury Estate" \
    m_csMapFile=KV-ThornburyEstate.kvo
