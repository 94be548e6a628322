"""Prints the mesh-drawing benchmark's table from the lines its programs wrote.

Input lines (see torus_workload.h):
  RESULT <program> <workload> <drawn|discard> <frames> <fps> <triangles> <cpu ms per frame>
  FIRST <program> <workload> <milliseconds> <cpu milliseconds>
  LOAD <when> <load averages> on <n> processors
Each cell is the best of the rounds: most frames per second, fewest milliseconds. The
processor milliseconds per frame count every thread of the program; on a busy machine
they compare the programs better than the frame rates, which also count the time other
programs took the processors.
"""

import sys

PROGRAMS = ["plain", "engine", "irrlicht"]
HEADINGS = {"plain": "plain GL (limit)", "engine": "engine", "irrlicht": "Irrlicht 1.8"}
WORKLOADS = ["static", "blended", "cel", "shadow", "shadow-small"]
# Workloads whose goal is at least Irrlicht's frames per second.
GOALS = {"static", "blended", "shadow-small"}
FIRST_FRAME_GOAL_MS = 100.0


def main(path):
    best = {}
    least_cpu = {}
    first = {}
    triangles = {}
    loads = []
    with open(path) as lines:
        for line in lines:
            words = line.split()
            if not words:
                continue
            if words[0] == "RESULT" and len(words) == 8:
                _, program, workload, mode, _, fps, count, cpu = words
                key = (program, workload, mode)
                best[key] = max(best.get(key, 0.0), float(fps))
                least_cpu[key] = min(least_cpu.get(key, float("inf")), float(cpu))
                triangles[workload] = int(count)
            elif words[0] == "FIRST" and len(words) == 5:
                key = (words[1], words[2])
                if key not in first or float(words[3]) < first[key][0]:
                    first[key] = (float(words[3]), float(words[4]))
            elif words[0] == "LOAD":
                loads.append(" ".join(words[1:]))

    def cell(program, workload, mode):
        fps = best.get((program, workload, mode))
        if fps is None:
            return "-"
        return "%.1f fps %.2f Mtri/s %.1f cpu ms" % (fps, fps * triangles[workload] / 1e6,
                                                     least_cpu[(program, workload, mode)])

    columns = [p for p in PROGRAMS if any(k[0] == p for k in best)]
    heading = ["workload", "triangles", "mode"] + [HEADINGS[p] for p in columns] + ["engine / Irrlicht"]
    rows = []
    for workload in WORKLOADS:
        for mode in ("drawn", "discard"):
            if not any((p, workload, mode) in best for p in columns):
                continue
            ratio = "-"
            engine = best.get(("engine", workload, mode))
            reference = best.get(("irrlicht", workload, mode))
            if engine and reference:
                ratio = "%.2fx" % (engine / reference)
                if mode == "drawn" and workload in GOALS:
                    ratio += " (goal 1.0x: %s)" % ("met" if engine >= reference else "missed")
            rows.append([workload, str(triangles[workload]), mode] + [cell(p, workload, mode) for p in columns] + [ratio])
    widths = [max(len(r[i]) for r in [heading] + rows) for i in range(len(heading))]
    for row in [heading, ["-" * w for w in widths]] + rows:
        print("| " + " | ".join(text.ljust(w) for text, w in zip(row, widths)) + " |")
    print()
    for (program, workload), (ms, cpu) in sorted(first.items()):
        note = ""
        if program == "engine" and workload == "shadow":
            note = " (goal under %.0f ms: %s)" % (FIRST_FRAME_GOAL_MS, "met" if ms < FIRST_FRAME_GOAL_MS else "missed")
        steady = least_cpu.get((program, workload, "drawn"))
        if steady is not None:
            note += "; a later frame takes %.1f cpu ms" % steady
        print("first frame, %s, %s caster (%d triangles): %.1f ms, %.1f cpu ms%s" % (
            HEADINGS[program], workload, triangles.get(workload, 0), ms, cpu, note))
    for load in loads:
        print("machine load %s" % load)


if __name__ == "__main__":
    main(sys.argv[1])
