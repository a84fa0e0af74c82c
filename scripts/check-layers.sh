#!/usr/bin/env bash
# Fails when a source folder includes a header of a folder above it or of a
# sibling: components <- services <- services/main <- database, entries,
# search <- app (each ui/ folder sits just above its plain folder); cli
# stands beside them on components and services alone.
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
cd "$root"

# The folders each folder may include from, itself included.
declare -A allowed=(
  [components]="components"
  [components/ui]="components components/ui"
  [services]="components services"
  [services/ui]="components components/ui services services/ui"
  [services/main]="components components/ui services services/ui services/main"
  [database]="components components/ui services services/ui services/main database"
  [entries]="components components/ui services services/ui services/main entries"
  [search]="components components/ui services services/ui services/main search"
  [app]="components components/ui services services/ui services/main database entries search app"
  # The command line program needs no window: only the QtCore layers.
  [cli]="components services cli"
)

bad=0
checked=0
# A new source folder must take its place in the layers first.
while IFS= read -r dir; do
  if [ -z "${allowed[$dir]+x}" ]; then
    echo "layering: $dir holds sources but has no place in the layers"
    bad=$((bad + 1))
  fi
done < <(find app cli database entries search services components -name '*.cpp' -o -name '*.h' 2>/dev/null | xargs -r -n1 dirname | sort -u)
for folder in "${!allowed[@]}"; do
  [ -d "$folder" ] || continue
  for file in "$folder"/*.h "$folder"/*.cpp; do
    [ -e "$file" ] || continue
    checked=$((checked + 1))
    while IFS= read -r line; do
      number=${line%%:*}
      target=$(sed -E 's/^[^"]*"([^"]+)".*$/\1/' <<<"${line#*:}")
      [[ "$target" == */* ]] || continue # a header beside the file
      dir=${target%/*}
      ok=0
      for a in ${allowed[$folder]}; do
        [ "$dir" = "$a" ] && ok=1
      done
      if [ $ok = 0 ]; then
        echo "layering: $file:$number includes \"$target\", which $folder may not use"
        bad=$((bad + 1))
      fi
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"' "$file" || true)
  done
done
if [ $bad -gt 0 ]; then
  echo "layering: $bad include(s) against the layers"
  exit 1
fi
echo "layering: $checked files, every include follows the layers"
