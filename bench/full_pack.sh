# Sourced by the benchmarks that run on the full generated pack.
#
#   full_pack NAME    sets pack to build/bench-pack, writing it there first
#                     (about a minute) unless a whole one is there; NAME
#                     prefixes its messages. Needs the release make_full_pack
#                     built, and the project root as the current folder.
full_pack() {
  pack="$PWD/build/bench-pack"
  [ -f "$pack/.complete" ] && return 0
  echo "$1: writing the full pack into $pack (about a minute)"
  rm -rf "$pack"
  build/release/bench/make_full_pack "$pack" || return 1
  touch "$pack/.complete"
}
