#!/usr/bin/env bash
# A PostgreSQL server of your own to try a shared season on: installs PostgreSQL if it is missing,
# starts a private cluster for the current user in ~/.local/share/agenda-mirak/server (as root, whose
# home other users cannot enter, /var/lib/agenda-mirak/server; not the system's cluster; it listens
# only on a socket in that folder), creates the database "mirak", puts the demo season onto it and
# prints the address to open. Run again, it reuses what it made.
#
#   scripts/server-debian.sh [PROGRAM]     PROGRAM: agenda-mirak (default: build/agenda-mirak)
#
# The server runs as the current user; as root it runs as "nobody" (PostgreSQL refuses root).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$top/build/agenda-mirak}

if ! ls /usr/lib/postgresql/*/bin/pg_ctl >/dev/null 2>&1; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; fi
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends postgresql-15 libpq-dev
fi
bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)

data_home=${XDG_DATA_HOME:-$HOME/.local/share}
folder=$data_home/agenda-mirak/server
as_owner=()
if [ "$(id -u)" -eq 0 ]; then
  as_owner=(runuser -u nobody --)
  # Root's home is closed to other users, and "nobody" must reach the cluster's folder: root's
  # cluster then lives among the computer's own data.
  mkdir -p "$data_home"
  if ! runuser -u nobody -- test -x "$data_home"; then
    folder=/var/lib/agenda-mirak/server
  fi
fi
mkdir -p "$folder"
if [ "$(id -u)" -eq 0 ]; then
  # The cluster's folder belongs to "nobody", the socket is reachable by everyone on this computer.
  chmod 0777 "$folder"
  chmod a+x "$(dirname "$folder")"
fi
if [ ! -f "$folder/data/PG_VERSION" ]; then
  "${as_owner[@]}" "$bin/initdb" -D "$folder/data" -U mirak --auth=trust --encoding=UTF8 \
    --locale=C.UTF-8 >"$folder/initdb.log"
fi
if ! "${as_owner[@]}" "$bin/pg_ctl" -D "$folder/data" status >/dev/null 2>&1; then
  "${as_owner[@]}" "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w \
    -o "-k $folder -c listen_addresses=" start >/dev/null
fi
if ! "$bin/psql" -h "$folder" -U mirak -d postgres -Atc "select 1 from pg_database where datname='mirak'" |
  grep -q 1; then
  "$bin/createdb" -h "$folder" -U mirak mirak
fi

socket=$(python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.argv[1], safe=""))' "$folder")
address="postgresql://mirak@$socket/mirak"
if ! "$bin/psql" -h "$folder" -U mirak -d mirak -Atc \
  "select 1 from information_schema.tables where table_schema='ukazka' and table_name='mirak_meta'" | grep -q 1; then
  if [ ! -x "$program" ]; then
    echo "Program $program ešte nie je zostavený: spustite najprv príkaz z README." >&2
    exit 1
  fi
  demo=$(mktemp -d)
  "$program" --demo-season "$demo/ukazka.mdb" >/dev/null
  "$program" --upload "$demo/ukazka.mdb" --server "$address?sezona=ukazka"
  rm -rf "$demo"
fi

# The committees' roles, and a login for each to try the shared season with (no password: the server
# listens only on its socket folder on this computer).
for pair in sekretar:sekretar1 disciplinarna:disciplina1 rozhodcovia:rozhodca1 citatel:citatel1; do
  login=${pair#*:}
  "$bin/psql" -h "$folder" -U mirak -d mirak -qAtc \
    "do \$\$ begin if not exists (select 1 from pg_roles where rolname = '$login') then create role $login login; end if; end \$\$"
done
"$program" --server-setup "$address" >/dev/null
for pair in sekretar:sekretar1 disciplinarna:disciplina1 rozhodcovia:rozhodca1 citatel:citatel1; do
  "$program" --grant "${pair%%:*}" --login "${pair#*:}" "$address" >/dev/null
done

echo "Server beží. Sezóna na otvorenie:"
echo "  $address?sezona=ukazka"
echo "V okne: Súbor → Otvoriť zo servera..., alebo: $program '$address?sezona=ukazka'"
echo "Ako komisie (v dvoch oknách naraz): namiesto mirak@ prihlásenie sekretar1@, disciplina1@,"
echo "  rozhodca1@ alebo citatel1@, napríklad: $program 'postgresql://disciplina1@$socket/mirak?sezona=ukazka'"
echo "Zastaví ho: ${as_owner[*]:+${as_owner[*]} }$bin/pg_ctl -D '$folder/data' stop"
