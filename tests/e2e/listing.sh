#!/usr/bin/env bash
# orvalis-pack --sign and --winget: a setup signed with a certificate made here
# by openssl passes osslsigncode's verification and carries its certificate
# entry; a wrong password or a missing tool leaves no file; the winget manifest
# validates against the published singleton schema 1.6.0, names the signed
# setup by its hash, and its switches, filled in as winget fills them, install
# the product under Wine with the software-list entry the manifest describes.
# Runs under ./dev.sh test or ./dev.sh e2e (ROOT, OUT, WINE, PY, BUILD set) or alone; no display needed.
set -u

# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
WORK=$(work_folder listing)
SCHEMA=$ROOT/tools/pack/tests/data/winget/manifest.singleton.1.6.0.json

rm -rf "$WORK/run" && mkdir -p "$WORK/run"
RUN=$WORK/run
own_wine_prefix
trap own_wine_end EXIT

UNINSTALL='Software\Microsoft\Windows\CurrentVersion\Uninstall'
forget_keys "HKLM\\$UNINSTALL\\ListingDemo" "HKCU\\$UNINSTALL\\ListingDemo" 'HKCU\Software\Orvalis\ListingDemo'
TARGET='C:\Listing Demo'
LOG='C:\Listing Logs\winget.log'
rm -rf "$(unixpath "$TARGET")" "$(unixpath 'C:\Listing Logs')"

PRODUCT=$RUN/product
stage_product "$PRODUCT"
printf 'Product=ListingDemo\r\nProductName=Listing_Demo\r\nProductNameEnu=Listing_Demo\r\nProgram=OrvalisDemo.exe\r\nVersion=3_1_0\r\n' \
  > "$RUN/DISK.ID"
STUB=$BIN/OrvalisSetup.exe
packed() {  # output, more options...
  local output=$1; shift
  "$PACK" --stub "$STUB" --descriptor "$RUN/DISK.ID" --files "$PRODUCT" -o "$output" "$@"
}

echo "a certificate made for the test"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj '/CN=Orvalis Listing Test' \
  -keyout "$RUN/key.pem" -out "$RUN/cert.pem" >/dev/null 2>&1
printf 'listing password' > "$RUN/pass.txt"
printf 'not the password' > "$RUN/wrong.txt"
openssl pkcs12 -export -inkey "$RUN/key.pem" -in "$RUN/cert.pem" -out "$RUN/cert.pfx" -passout "file:$RUN/pass.txt"
check "openssl made cert.pfx" test -s "$RUN/cert.pfx"

echo "signing"
mkdir -p "$RUN/signed"
SETUP=$RUN/signed/Listing-Setup.exe
MANIFEST=$RUN/signed/Listing.yaml
check "orvalis-pack --sign --winget succeeds" packed "$SETUP" --sign "$RUN/cert.pfx" --password-file "$RUN/pass.txt" \
  --winget "$MANIFEST" --id Orvalis.ListingDemo --url https://downloads.example.com/Listing-Setup.exe
expect "only the setup and the manifest are left" "Listing-Setup.exe Listing.yaml" "$(find "$RUN/signed" -mindepth 1 -printf '%f\n' | sort | paste -sd' ')"
check "osslsigncode verify passes" osslsigncode verify -in "$SETUP" -CAfile "$RUN/cert.pem"
expect "pefile sees the certificate entry: one PKCS#7 WIN_CERTIFICATE that ends the file" "ok" "$($PY - "$SETUP" <<'PY'
import struct, sys, pefile
data = open(sys.argv[1], "rb").read()
pe = pefile.PE(data=data, fast_load=True)
d = pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_SECURITY"]]
length, revision, kind = struct.unpack_from("<IHH", data, d.VirtualAddress) if d.Size else (0, 0, 0)
ok = d.Size > 8 and d.VirtualAddress + d.Size == len(data) and length <= d.Size and revision == 0x200 and kind == 2
print("ok" if ok else "security directory %#x+%d, certificate %d %#x %d" % (d.VirtualAddress, d.Size, length, revision, kind))
PY
)"
check_not "the unsigned setup has no certificate entry" osslsigncode verify -in "$(packed "$RUN/plain.exe" >/dev/null; echo "$RUN/plain.exe")" -CAfile "$RUN/cert.pem"
packed "$RUN/plain2.exe" >/dev/null
check "unsigned output stays byte-for-byte the same" cmp -s "$RUN/plain.exe" "$RUN/plain2.exe"

mkdir -p "$RUN/refused"
"$PACK" --stub "$STUB" --descriptor "$RUN/DISK.ID" --files "$PRODUCT" -o "$RUN/refused/Listing-Setup.exe" \
  --sign "$RUN/cert.pfx" --password-file "$RUN/wrong.txt" --winget "$RUN/refused/Listing.yaml" --id Orvalis.ListingDemo \
  --url https://downloads.example.com/Listing-Setup.exe >/dev/null 2>"$RUN/wrong.err"
expect "a wrong password fails with exit code 1" "1" "$?"
check "  and says the password does not open the certificate" grep -q 'does not open the certificate' "$RUN/wrong.err"
expect "  and leaves nothing: no setup, no temporary, no manifest" "" "$(ls -A "$RUN/refused")"
mkdir -p "$RUN/nopath"
PATH=$RUN/nopath "$PACK" --stub "$STUB" --descriptor "$RUN/DISK.ID" --files "$PRODUCT" -o "$RUN/refused/Listing-Setup.exe" \
  --sign "$RUN/cert.pfx" --password-file "$RUN/pass.txt" >/dev/null 2>"$RUN/notool.err"
expect "without osslsigncode on the PATH it fails with exit code 1" "1" "$?"
check "  and names the tool" grep -q 'osslsigncode is not found on the PATH' "$RUN/notool.err"
expect "  and leaves nothing" "" "$(ls -A "$RUN/refused")"

echo "the winget manifest"
$PY - "$MANIFEST" "$RUN/manifest.json" <<'PY'
import json, sys, yaml
json.dump(yaml.safe_load(open(sys.argv[1], encoding="utf-8")), open(sys.argv[2], "w"))
PY
validate() {  # manifest as JSON
  $PY - "$SCHEMA" "$1" <<'PY'
import json, sys, jsonschema
jsonschema.Draft202012Validator(json.load(open(sys.argv[1]))).validate(json.load(open(sys.argv[2])))
PY
}
check "it validates against the winget singleton schema 1.6.0" validate "$RUN/manifest.json"
# The same validation refuses a manifest without the installer's hash, so it is no rubber stamp.
$PY -c 'import json, sys; m = json.load(open(sys.argv[1])); del m["Installers"][0]["InstallerSha256"]; json.dump(m, open(sys.argv[2], "w"))' \
  "$RUN/manifest.json" "$RUN/broken.json"
check_not "  and the schema refuses one without InstallerSha256" validate "$RUN/broken.json"
get() { $PY -c 'import json, sys; v = json.load(open(sys.argv[1]))
for k in sys.argv[2:]: v = v[int(k) if k.isdigit() else k]
print(v)' "$RUN/manifest.json" "$@"; }
expect "InstallerSha256 is the signed setup's" "$(sha256sum "$SETUP" | cut -d' ' -f1 | tr a-f A-F)" \
  "$(get Installers 0 InstallerSha256)"
expect "PackageVersion from the descriptor" "3.1.0" "$(get PackageVersion)"
expect "Architecture of the stub" "x64" "$(get Installers 0 Architecture)"

echo "the manifest's switches install the signed setup under Wine"
SW() { get Installers 0 InstallerSwitches "$1"; }
LINE="$(SW Silent) $(SW Custom) $(SW InstallLocation) $(SW Log)"
LINE=${LINE//<INSTALLPATH>/$TARGET}
LINE=${LINE//<LOGPATH>/$LOG}
expect "the command line winget builds" "/Q /U /I /P:\"$TARGET\" /O:\"$LOG\"" "$LINE"
cp "$SETUP" "$WORK/listing.exe"
RC=$("$WINE" "$RUNRAW" "$(winpath "$WORK/listing.exe") $LINE" 2>/dev/null | tr -d '\r' | sed -n 's/^exit=//p')
expect "exit code 0" "0" "$RC"
while IFS= read -r f; do
  display=$(printf '%s' "$f" | tr '/' '\\')
  expect "$display is installed in the folder given" "$(crc_of "$PRODUCT/$f")" \
    "$(inspect file "$TARGET\\$display" | cut -d' ' -f1,2)"
done < <(cd "$PRODUCT" && find . -type f | sed 's|^\./||' | sort)
LOG_U=$(unixpath "$LOG")
check "the log is where the manifest's Log switch says" test -s "$LOG_U"
check "  and ends with the installation" grep -q '^outcome: installed' "$LOG_U"
KEY="$UNINSTALL\\$(get Installers 0 ProductCode)"
expect "the software-list key is the ProductCode (Scope machine: HKLM)" "machine" "$(get Installers 0 Scope)"
expect "  DisplayName as in AppsAndFeaturesEntries" "sz:$(get Installers 0 AppsAndFeaturesEntries 0 DisplayName)" \
  "$(inspect reg HKLM "$KEY" DisplayName)"
expect "  Publisher" "sz:$(get Installers 0 AppsAndFeaturesEntries 0 Publisher)" "$(inspect reg HKLM "$KEY" Publisher)"
expect "  DisplayVersion" "sz:$(get Installers 0 AppsAndFeaturesEntries 0 DisplayVersion)" \
  "$(inspect reg HKLM "$KEY" DisplayVersion)"

finish
