# Builds a release from a commit alone (sourced by scripts/reproduce and
# scripts/verify-release, not run):
#
#   package_export ROOT COMMIT FOLDER [scripts/package's options...]
#
# exports COMMIT of the clone ROOT into FOLDER (git archive: no checkout, no
# build, nothing uncommitted), runs its scripts/package at the commit's time and
# leaves the release in FOLDER/dist. Ends the script, with scripts/package's
# output, when the build fails.
package_export() {
  local root=$1 commit=$2 folder=$3 out
  shift 3
  mkdir -p "$folder"
  git -C "$root" archive "$commit" | tar -x -C "$folder"
  echo "== build from an export of $commit: $folder"
  out=$(SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct "$commit") "$folder/scripts/package" "$@") \
    || { echo "$out"; echo "the build in $folder failed"; exit 1; }
}
