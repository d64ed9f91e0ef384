# Sourced by the scripts: the product's facts and architectures (release/), and what
# scripts/setup.sh found out about this machine (build/setup.env). It changes nothing.
# QUORVEL_NO_32BIT=1 takes the machine as one that cannot execute 32-bit code.
QUORVEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [ ! -f "$QUORVEL_ROOT/build/setup.env" ]; then
  echo "FAIL: this checkout is not set up yet: run scripts/setup.sh first" >&2
  exit 1
fi
source "$QUORVEL_ROOT/build/setup.env"
if [ "${QUORVEL_NO_32BIT:-0}" = 1 ]; then
  QUORVEL_32BIT="no: QUORVEL_NO_32BIT=1 takes this machine as one that cannot execute 32-bit code"
  QUORVEL_32BIT_EMULATOR=""
fi
runs_32bit() { [ "$QUORVEL_32BIT" = yes ]; }
without_32bit() { echo "${QUORVEL_32BIT#no: }"; }

source "$QUORVEL_ROOT/release/product.env"
# The architectures' rows, from release/architectures.tsv.
mapfile -t QUORVEL_ARCHITECTURES < <(grep -v '^#' "$QUORVEL_ROOT/release/architectures.tsv")
# Usage: read_architecture <row | preset | PE format>: sets preset suffix bits format
# manifest_arch limit_kib msi_arch program_files msi_template from that row; fails for none.
read_architecture() {
  local row
  for row in "${QUORVEL_ARCHITECTURES[@]}"; do
    IFS=$'\t' read -r preset suffix bits format manifest_arch limit_kib msi_arch program_files \
      msi_template <<<"$row"
    [ "$1" != "$row" ] && [ "$1" != "$preset" ] && [ "$1" != "$format" ] || return 0
  done
  return 1
}
# Usage: exe_architecture <program.exe>: read_architecture for that program's PE format.
exe_architecture() {
  read_architecture "$(x86_64-w64-mingw32-objdump -f "$1" 2>/dev/null | sed -n 's/.*file format //p')"
}
# Whether the programs of <preset> can run here: the 32-bit ones only where 32-bit code runs.
preset_runs_here() { [ "$1" != windows-x86 ] || runs_32bit; }
# Stops a script that needs the programs of <preset> to run where they cannot, before it builds.
# Usage: need_preset_here <preset> [what therefore is not done]
need_preset_here() {
  preset_runs_here "$1" && return 0
  echo "FAIL: $(without_32bit), so ${2:-the 32-bit exe cannot run here}" >&2
  exit 1
}
