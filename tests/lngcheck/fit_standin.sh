# Stands in for the forms program of lngcheck --fit in the native tree, where
# LNGCHECK_WINE=sh runs it: the log it writes is the lines of the language file
# that start with ";< ", each "\t" in them a tab. Its paths come as Wine's, Z:\...
native() { printf '%s\n' "${1#Z:}" | tr '\\' /; }
while [ $# -gt 1 ]; do
  [ "$1" = --log ] && log=$(native "$2")
  shift
done
sed -n 's/^;< //p' "$(native "$1")" | sed 's/\\t/\t/g' >"$log"
