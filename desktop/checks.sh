# Shared by the install and package checks (sourced).

# require_tools TOOL...: exits 77 (skipped) when one of them is missing.
require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
  done
}

# keep_manifest BUILD_DIR SCRATCH: the build's own install manifest (a user's
# real install) survives the check, and SCRATCH goes when it ends.
keep_manifest() {
  manifest="$1/install_manifest.txt" scratch=$2 saved=""
  if [ -e "$manifest" ]; then
    saved=$(mktemp)
    cp -p "$manifest" "$saved"
  fi
  trap 'rm -rf "$scratch"; if [ -n "$saved" ]; then mv "$saved" "$manifest"; else rm -f "$manifest"; fi' EXIT
}
