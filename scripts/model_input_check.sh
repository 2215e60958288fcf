#!/usr/bin/env bash
# Peak memory and time of mshost's own model readers on their worst cases,
# and of the .ms3d export, against `cp` of the same file in the same run.
#
#     scripts/model_input_check.sh [BIN_DIR]
#
# BIN_DIR defaults to build/release/bin (built here when it is the default).
# Inputs, written into a scratch folder:
#   - materials.json: {"materials":[{},{},...]} with 3,000,000 empty objects
#   - brackets.json: 10,000,000 '[' and as many ']'
#   - repeated.ms3d: 1 vertex, 1 triangle, 400 groups each listing triangle 0 65,535 times
#   - saved8.json, saved40.json: what `mshost import --save` writes for the
#     generated geometry file with 8 and with 40 shapes of 65,535 vertices
#     (read back with `--model`, against the import that wrote them)
#   - grid.ms3d: one group of 65,535 vertices and 65,535 triangles with a
#     texture, exported to a NIF (against `cp` of the .ms3d)
# Peak memory is the maximum resident set size of /usr/bin/time -v; times are
# the best of five wall times. Prints one line per case.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/release/bin}
if [ $# -eq 0 ]; then
  cmake --preset release >/dev/null
  cmake --build build/release -j"$(nproc)" --target mshost dravelin korbastel make_examples load_benchmark >/dev/null
fi
mshost=$bin/mshost
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

perl -e 'print "{\"materials\":[", join(",", ("{}") x 3000000), "]}"' > "$work/materials.json"
perl -e 'print "[" x 10000000, "]" x 10000000' > "$work/brackets.json"
# .ms3d version 4: id, version, vertices, triangles, groups, materials, animation, joints.
perl -e '
  binmode STDOUT;
  print "MS3D000000", pack("l<", 4);
  print pack("v", 1), pack("C f<3 c C", 0, 0, 0, 0, -1, 1);
  print pack("v", 1), pack("v v3 f<9 f<3 f<3 C C", 0, 0, 0, 0, (0) x 9, (0) x 3, (0) x 3, 1, 0);
  print pack("v", 400);
  for my $g (1 .. 400) { print pack("C a32 v", 0, "g", 65535), pack("v", 0) x 65535, pack("c", -1); }
  print pack("v", 0), pack("f< f< l<", 24, 1, 30), pack("v", 0);' > "$work/repeated.ms3d"
perl -e '
  binmode STDOUT;
  my $n = 65535;
  print "MS3D000000", pack("l<", 4), pack("v", $n);
  for my $i (0 .. $n - 1) { print pack("C f<3 c C", 0, $i % 256, int($i / 256), 0, -1, 3); }
  print pack("v", $n);
  for my $i (0 .. $n - 1) {
    my @v = ($i, ($i + 1) % $n, ($i + 2) % $n);
    print pack("v v3 f<9", 0, @v, 0, 0, 1, 0, 0, 1, 0, 0, 1);
    print pack("f<3", map { ($_ % 256) / 255 } @v), pack("f<3", map { int($_ / 256) / 255 } @v), pack("C C", 1, 0);
  }
  print pack("v", 1), pack("C a32 v", 0, "grid", $n), pack("v*", 0 .. $n - 1), pack("c", 0);
  print pack("v", 1), pack("a32 f<16 f< f< c a128 a128", "skin", (0.2) x 4, (0.8) x 4, (0) x 8, 0, 1, 0, "skin.bmp", "");
  print pack("f< f< l<", 24, 1, 30), pack("v", 0);' > "$work/grid.ms3d"
"$bin/make_examples" "$work" >/dev/null
small=$work/crate.nif
for shapes in 8 40; do
  "$bin/load_benchmark" --write-heavy-nif "$work/heavy$shapes.nif" "$shapes"
done

# peak KB, exit status
peak() {
  local status=0
  /usr/bin/time -v -o "$work/time.txt" "$@" >/dev/null 2>"$work/stderr.txt" || status=$?
  echo "$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt") $status"
}
# Best wall time in microseconds of five runs.
best_us() {
  local best=0 start end
  for _ in 1 2 3 4 5; do
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    if [ "$best" -eq 0 ] || [ $((end - start)) -lt "$best" ]; then best=$((end - start)); fi
  done
  echo $((best / 1000))
}
kb() { echo $(( $(stat -c %s "$1") / 1024 )); }

printf '%-34s %10s %10s %6s  %s\n' case file_kb peak_kb exit "stderr"
for f in materials.json brackets.json repeated.ms3d; do
  read -r p s < <(peak "$mshost" export "$work/$f" "$work/out.nif")
  printf '%-34s %10s %10s %6s  %s\n' "export $f" "$(kb "$work/$f")" "$p" "$s" "$(head -c 100 "$work/stderr.txt" | head -1)"
done
for shapes in 8 40; do
  nif=$work/heavy$shapes.nif
  saved=$work/saved$shapes.json
  read -r p s < <(peak "$mshost" import "$nif" --save "$saved" --summary)
  printf '%-34s %10s %10s %6s\n' "import heavy$shapes.nif --save" "$(kb "$nif")" "$p" "$s"
  read -r p s < <(peak "$mshost" import "$small" --model "$saved" --summary)
  printf '%-34s %10s %10s %6s\n' "import crate --model saved$shapes.json" "$(kb "$saved")" "$p" "$s"
  write_us=$(best_us "$mshost" import "$nif" --save "$work/again.json" --summary)
  read_us=$(best_us "$mshost" import "$small" --model "$saved" --summary)
  echo "  heavy$shapes: import --save ${write_us} us, read back ${read_us} us:" \
    "$(awk -v a="$read_us" -v b="$write_us" 'BEGIN { printf "%.2f", a / b }') x the import (goal <= 3)"
done
read -r p s < <(peak "$mshost" export "$work/grid.ms3d" "$work/grid.nif")
printf '%-34s %10s %10s %6s\n' "export grid.ms3d" "$(kb "$work/grid.ms3d")" "$p" "$s"
# The export ends with fsync, which on ext4 also waits for whatever other data
# is due in the same journal commit: the big files written above go out first.
sync
cp_us=$(best_us cp "$work/grid.ms3d" "$work/copy.ms3d")
export_us=$(best_us "$mshost" export "$work/grid.ms3d" "$work/grid.nif")
echo "  grid.ms3d: cp ${cp_us} us, export ${export_us} us:" \
  "$(awk -v a="$export_us" -v b="$cp_us" 'BEGIN { printf "%.1f", a / b }') x cp (goal <= 4)"
