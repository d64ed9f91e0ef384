# Sourced by the scripts: the two architectures, and what scripts/setup.sh found out about this
# machine (build/setup.env). It changes nothing. QUORVEL_NO_32BIT=1 takes the machine as one that
# cannot execute 32-bit code.
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

# One row an architecture: preset, file-name suffix, MSI platform and template, Program Files
# folder on 64-bit Windows, PE format, manifest processor, size limit of the exe in KiB.
QUORVEL_ARCHITECTURES=(
  "windows:win64:x64:x64;1033:Program Files:pei-x86-64:amd64:120"
  "windows-x86:win32:x86:Intel;1033:Program Files (x86):pei-i386:x86:156"
)
# Usage: read_architecture <row | preset | PE format>: sets preset suffix msi_arch msi_template
# program_files format manifest_arch limit_kib from that row; fails for none.
read_architecture() {
  local row
  for row in "${QUORVEL_ARCHITECTURES[@]}"; do
    IFS=: read -r preset suffix msi_arch msi_template program_files format manifest_arch \
      limit_kib <<<"$row"
    [ "$1" != "$row" ] && [ "$1" != "$preset" ] && [ "$1" != "$format" ] || return 0
  done
  return 1
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
