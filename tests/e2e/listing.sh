#!/usr/bin/env bash
# orvalis-pack --sign, --winget and --winget-singleton: a setup signed with a
# certificate made here by openssl passes osslsigncode's verification and
# carries its certificate entry; a wrong password or a missing tool leaves no
# file; the multi-file winget manifest lies in the community repository's
# layout and each of its files validates against the published schema 1.28.0
# of its type (and a copy without a required field does not), the singleton
# against the schema 1.6.0; both name the signed setup by its hash, and the
# installer file's switches, filled in as winget fills them, install the
# product under Wine with the software-list entry the manifest describes.
# Runs under ./dev.sh test or ./dev.sh e2e (ROOT, OUT, WINE, PY, BUILD set) or alone; no display needed.
set -u

# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
WORK=$(work_folder listing)
SCHEMAS=$ROOT/tools/pack/tests/data/winget

rm -rf "$WORK/run" && mkdir -p "$WORK/run"
RUN=$WORK/run
own_wine_prefix
trap own_wine_end EXIT

forget_keys "HKLM\\$MACHINE_UNINSTALL\\ListingDemo" "HKCU\\$USER_UNINSTALL\\ListingDemo" 'HKCU\Software\Orvalis\ListingDemo'
TARGET='C:\Listing Demo'
LOG='C:\Listing Logs\winget.log'
rm -rf "$(unixpath "$TARGET")" "$(unixpath 'C:\Listing Logs')"

PRODUCT=$RUN/product
stage_product "$PRODUCT"
printf 'Product=ListingDemo\r\nProductName=Lijst_Demo\r\nProductNameEnu=Listing_Demo\r\nProgram=OrvalisDemo.exe\r\nVersion=3_1_0\r\n' \
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
check "orvalis-pack --sign --winget --winget-singleton succeeds" packed "$SETUP" --sign "$RUN/cert.pfx" \
  --password-file "$RUN/pass.txt" --winget "$RUN/signed/winget" --winget-singleton "$MANIFEST" \
  --id Orvalis.ListingDemo --url https://downloads.example.com/Listing-Setup.exe
expect "only the setup and the manifests are left" "Listing-Setup.exe Listing.yaml winget" \
  "$(find "$RUN/signed" -mindepth 1 -maxdepth 1 -printf '%f\n' | sort | paste -sd' ')"
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
  --sign "$RUN/cert.pfx" --password-file "$RUN/wrong.txt" --winget "$RUN/refused/winget" \
  --winget-singleton "$RUN/refused/Listing.yaml" --id Orvalis.ListingDemo \
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

echo "the winget manifests"
FOLDER=manifests/o/Orvalis/ListingDemo/3.1.0
expect "the multi-file manifest lies in the community repository's layout" \
  "$FOLDER/Orvalis.ListingDemo.installer.yaml $FOLDER/Orvalis.ListingDemo.locale.en-US.yaml $FOLDER/Orvalis.ListingDemo.locale.nl-NL.yaml $FOLDER/Orvalis.ListingDemo.yaml" \
  "$(cd "$RUN/signed/winget" && find . -type f | sed 's|^\./||' | sort | paste -sd' ')"
# Each manifest as JSON, named after its ManifestType.
$PY - "$RUN" "$MANIFEST" "$RUN/signed/winget/$FOLDER"/*.yaml <<'PY'
import json, os, sys, yaml
for path in sys.argv[2:]:
    manifest = yaml.safe_load(open(path, encoding="utf-8"))
    json.dump(manifest, open(os.path.join(sys.argv[1], manifest["ManifestType"] + ".json"), "w"))
PY
validate() {  # schema, manifest as JSON
  $PY - "$SCHEMAS/$1" "$2" <<'PY'
import json, sys, jsonschema
schema = json.load(open(sys.argv[1]))
jsonschema.validators.validator_for(schema)(schema).validate(json.load(open(sys.argv[2])))
PY
}
# A copy of a manifest without one of its fields.
without() {  # manifest as JSON, copy, key...
  $PY - "$@" <<'PY'
import json, sys
m = json.load(open(sys.argv[1]))
*path, last = [int(k) if k.isdigit() else k for k in sys.argv[3:]]
v = m
for k in path: v = v[k]
del v[last]
json.dump(m, open(sys.argv[2], "w"))
PY
}
# Each file of the multi-file manifest against the schema of its type, and a
# copy without a field that schema requires, which it must refuse: the
# validation is no rubber stamp.
for pair in "version DefaultLocale" "installer Installers 0 InstallerSha256" "defaultLocale License" \
  "locale PackageLocale"; do
  read -r kind field <<<"$pair"
  check "the $kind file validates against the winget schema 1.28.0" validate "manifest.$kind.1.28.0.json" "$RUN/$kind.json"
  # shellcheck disable=SC2086  # the field's path, a word per key
  without "$RUN/$kind.json" "$RUN/broken.json" $field
  check_not "  and the schema refuses a copy without ${field##* }" validate "manifest.$kind.1.28.0.json" "$RUN/broken.json"
done
check "the singleton validates against the winget singleton schema 1.6.0" \
  validate manifest.singleton.1.6.0.json "$RUN/singleton.json"
without "$RUN/singleton.json" "$RUN/broken.json" Installers 0 InstallerSha256
check_not "  and the schema refuses one without InstallerSha256" validate manifest.singleton.1.6.0.json "$RUN/broken.json"
get() {  # manifest type, key...
  $PY -c 'import json, sys; v = json.load(open(sys.argv[1]))
for k in sys.argv[2:]: v = v[int(k) if k.isdigit() else k]
print(v)' "$RUN/$1.json" "${@:2}"
}
expect "every file names the package, its version and the manifest version" "Orvalis.ListingDemo 3.1.0 1.28.0" \
  "$(for kind in version installer defaultLocale locale; do
    echo "$(get $kind PackageIdentifier) $(get $kind PackageVersion) $(get $kind ManifestVersion)"
  done | sort -u | paste -sd'|')"
expect "the version file's default locale is the en-US file's" "en-US en-US" \
  "$(get version DefaultLocale) $(get defaultLocale PackageLocale)"
expect "en-US: the English product name" "Listing Demo" "$(get defaultLocale PackageName)"
expect "nl-NL: the Dutch product name" "nl-NL Lijst Demo" "$(get locale PackageLocale) $(get locale PackageName)"
expect "InstallerSha256 is the signed setup's" "$(sha256sum "$SETUP" | cut -d' ' -f1 | tr a-f A-F)" \
  "$(get installer Installers 0 InstallerSha256)"
expect "the singleton describes the same installer" "$(get installer Installers 0)" "$(get singleton Installers 0)"
expect "PackageVersion from the descriptor" "3.1.0" "$(get installer PackageVersion)"
expect "Architecture of the stub" "$([ "$BUILD" = win32 ] && echo x86 || echo x64)" \
  "$(get installer Installers 0 Architecture)"

echo "the installer file's switches install the signed setup under Wine"
SW() { get installer Installers 0 InstallerSwitches "$1"; }
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
KEY="$MACHINE_UNINSTALL\\$(get installer Installers 0 ProductCode)"
expect "the software-list key is the ProductCode (Scope machine: HKLM)" "machine" "$(get installer Installers 0 Scope)"
expect "  DisplayName as in AppsAndFeaturesEntries" \
  "sz:$(get installer Installers 0 AppsAndFeaturesEntries 0 DisplayName)" "$(inspect reg HKLM "$KEY" DisplayName)"
expect "  Publisher" "sz:$(get installer Installers 0 AppsAndFeaturesEntries 0 Publisher)" \
  "$(inspect reg HKLM "$KEY" Publisher)"
expect "  DisplayVersion" "sz:$(get installer Installers 0 AppsAndFeaturesEntries 0 DisplayVersion)" \
  "$(inspect reg HKLM "$KEY" DisplayVersion)"

finish
