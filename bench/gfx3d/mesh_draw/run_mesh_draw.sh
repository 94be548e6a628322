#!/usr/bin/env bash
# Runs the mesh-drawing benchmark: the engine, the plain one-draw-call GL program and
# (when it was built) the Irrlicht 1.8 program draw the same workloads on private Xvfb
# servers, one after another, for a number of rounds; the table shows each program's
# best round, so a burst of load from elsewhere on the machine spoils one round only.
#
#   bench/gfx3d/mesh_draw/run_mesh_draw.sh [rounds] [workload ...]
#
# rounds defaults to 2; workloads are static blended cel shadow shadow-small (all by
# default). BIN names the folder of the programs (default build/bin);
# MESH_DRAW_SECONDS the measured time of one workload (default 3). Every program swaps
# without waiting for a vertical blank (vblank_mode=0): the software renderer's default
# swap interval would otherwise pace one program and not the others. On a busy machine
# run it at a raised priority (nice -n -15 ...) so the others' load disturbs it less.
set -euo pipefail
export vblank_mode=0
here=$(cd "$(dirname "$0")" && pwd)
bin=${BIN:-build/bin}
rounds=${1:-2}
[ $# -gt 0 ] && shift

programs=("$bin/plain_gl_mesh_draw" "$bin/engine_mesh_draw")
if [ -x "$bin/irrlicht_mesh_draw" ]; then
  programs+=("$bin/irrlicht_mesh_draw")
else
  echo "run_mesh_draw: $bin/irrlicht_mesh_draw not built (libirrlicht-dev missing); its column stays empty" >&2
fi
for program in "${programs[@]}"; do
  [ -x "$program" ] || { echo "run_mesh_draw: $program not built" >&2; exit 1; }
done

workloads=("$@")
[ ${#workloads[@]} -gt 0 ] || workloads=(static blended cel shadow shadow-small)

log=$(mktemp)
trap 'rm -f "$log"' EXIT
echo "LOAD before $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors" >>"$log"
# Workload by workload, the programs one after another: each comparison is made within
# seconds, under the same load from the rest of the machine.
for round in $(seq 1 "$rounds"); do
  for workload in "${workloads[@]}"; do
    for program in "${programs[@]}"; do
      # The comparison library has no cel mode and cannot link the large caster's edges.
      case "$(basename "$program"):$workload" in
        irrlicht_mesh_draw:cel | irrlicht_mesh_draw:shadow) continue ;;
      esac
      echo "run_mesh_draw: round $round: $workload: $(basename "$program")" >&2
      "$here/../run_on_xvfb.sh" "$program" "$workload" | grep -E '^(RESULT|FIRST) ' >>"$log" || true
    done
  done
done
echo "LOAD after $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors" >>"$log"
python3 "$here/mesh_draw_table.py" "$log"
