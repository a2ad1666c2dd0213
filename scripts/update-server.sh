#!/usr/bin/env bash
# A loopback HTTPS update server for the simulated devices.
#
#   scripts/update-server.sh start DIR SIMFW   prints the update configuration's path
#   scripts/update-server.sh stop DIR
#
# start makes a throwaway certificate authority and a certificate for
# 127.0.0.1 in DIR, writes a firmware package one version newer than each
# simulated family's (made by SIMFW, the orvalinde-simfw tool) with its
# update-check reply, starts nginx on a free port of 127.0.0.1, and writes
# DIR/OrvalindeApp.Config: the four update-check addresses and
# UPDATE_CA_CERTIFICATES, the authority the application trusts for this
# server (its verification of the server's certificate stays on).
#
# It also answers APPLICATION_CONFIG_URL with the application's own version
# (the project version in CMakeLists.txt), so the firmware page shows no
# banner asking to update the application. Set ORVALINDE_OFFER_APP_UPDATE=1
# to offer a newer application version instead (the banner then shows).
set -euo pipefail

cmd="${1:-}"
project_dir="$(cd "$(dirname "$0")/.." && pwd)"
dir="${2:-}"
[ -n "$cmd" ] && [ -n "$dir" ] || { echo "usage: $0 start DIR SIMFW | stop DIR" >&2; exit 2; }

nginx_bin="$(command -v nginx || true)"
[ -z "$nginx_bin" ] && [ -x /usr/sbin/nginx ] && nginx_bin=/usr/sbin/nginx

if [ "$cmd" = "stop" ]; then
  if [ -f "$dir/nginx.pid" ]; then
    kill "$(cat "$dir/nginx.pid")" 2>/dev/null || true
  fi
  exit 0
fi
[ "$cmd" = "start" ] || { echo "unknown command $cmd" >&2; exit 2; }
simfw="${3:?the orvalinde-simfw tool}"
[ -n "$nginx_bin" ] || { echo "nginx is not installed (Debian package nginx-light)" >&2; exit 1; }

mkdir -p "$dir"/www/fw "$dir"/www/check "$dir"/logs "$dir"/tmp
# nginx started as root serves files as an unprivileged user: the folder and
# what it serves must be readable to all (the keys stay private).
chmod 755 "$dir"
cd "$dir"
umask 022

# The certificate authority and the server's certificate, made now.
cat > server.ext <<'EXT'
basicConstraints=CA:FALSE
subjectAltName=IP:127.0.0.1,DNS:localhost
EXT
ec=(-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes)
openssl req -x509 "${ec[@]}" -keyout ca.key -out ca.crt -days 7 -subj "/CN=Orvalinde local update authority" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
openssl req "${ec[@]}" -keyout server.key -out server.csr -subj "/CN=127.0.0.1" 2>/dev/null
openssl x509 -req -in server.csr -CA ca.crt -CAkey ca.key -CAcreateserial -out server.crt -days 7 \
  -extfile server.ext 2>/dev/null
chmod 600 ca.key server.key

# The newest firmware per family: one step above what a simulated device
# runs when it is plugged.
offers=(
  "pirok PIROK_CONFIG_URL 12.0.4"
  "orbrin ORBRIN_CONFIG_URL 1.1.6"
  "vasko VASKO_CONFIG_URL 1.3.3-2"
  "remote ORBRIN_REMOTECONTROLLER_CONFIG_URL 1.0.1"
)

write_conf() {
  cat > nginx.conf <<CONF
daemon on;
worker_processes 1;
pid $dir/nginx.pid;
error_log $dir/logs/error.log warn;
events { worker_connections 64; }
http {
    default_type application/octet-stream;
    types { application/json json; }
    access_log $dir/logs/access.log;
    client_body_temp_path $dir/tmp/body;
    proxy_temp_path $dir/tmp/proxy;
    fastcgi_temp_path $dir/tmp/fastcgi;
    uwsgi_temp_path $dir/tmp/uwsgi;
    scgi_temp_path $dir/tmp/scgi;
    server {
        listen 127.0.0.1:$1 ssl;
        server_name localhost;
        ssl_certificate $dir/server.crt;
        ssl_certificate_key $dir/server.key;
        location / { root $dir/www; }
    }
}
CONF
}

port=""
for candidate in $(seq 47443 47499); do
  write_conf "$candidate"
  if "$nginx_bin" -p "$dir" -c "$dir/nginx.conf" -e "$dir/logs/error.log" 2>/dev/null; then
    port="$candidate"
    break
  fi
done
[ -n "$port" ] || { echo "nginx could not listen on 127.0.0.1 (see $dir/logs/error.log)" >&2; exit 1; }

base="https://127.0.0.1:$port"
config="{"
for offer in "${offers[@]}"; do
  read -r family key version <<<"$offer"
  package="fw/${family}_${version}.dfu"
  "$simfw" "$family" "$version" "www/$package"
  md5="$(md5sum "www/$package" | cut -d' ' -f1)"
  printf '{"version": "%s", "URL": "%s/%s", "md5": "%s"}\n' "$version" "$base" "$package" "$md5" \
    > "www/check/$family.json"
  config+="\"$key\": \"$base/check/$family.json\", "
done
# The application's own version, or one step newer when asked.
app_version="$(sed -n 's/^project([A-Za-z]* VERSION \([0-9.]*\).*/\1/p' "$project_dir/CMakeLists.txt")"
[ -n "$app_version" ] || { echo "no project version in $project_dir/CMakeLists.txt" >&2; exit 1; }
if [ "${ORVALINDE_OFFER_APP_UPDATE:-0}" = "1" ]; then
  app_version="${app_version%.*}.$(( ${app_version##*.} + 1 ))"
fi
printf '{"version": "%s"}\n' "$app_version" > www/check/app.json
config+="\"APPLICATION_CONFIG_URL\": \"$base/check/app.json\", "
config+="\"UPDATE_CA_CERTIFICATES\": \"$dir/ca.crt\"}"
echo "$config" > OrvalindeApp.Config
echo "$dir/OrvalindeApp.Config"
