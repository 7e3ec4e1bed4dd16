# Helpers of bench/run.sh: reading results, watching a program's Unix process, the files'
# figures and the table. Sourced, not run.

note() { echo "bench: $*" >&2; }

# The value of KEY=... in a driver's output.
value() { sed -n "s/^$1=//p" "$2" | tr -d '\r' | head -1; }

median() { sort -g | awk '{a[NR]=$1} END {if (NR) print a[int((NR+1)/2)]; else print "n/a"}'; }

# The Unix process of a Windows program of this prefix (not the driver that names it).
unix_pid() {
    local name=$1 p
    for p in /proc/[0-9]*; do
        { tr '\0' '\n' <"$p/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
        local cmd
        cmd=$({ tr '\0' ' ' <"$p/cmdline"; } 2>/dev/null) || continue
        case "$cmd" in *bench_driver*) continue ;; esac
        case "$cmd" in *"$name"*) basename "$p"; return 0 ;; esac
    done
    return 1
}

# Context switches of every thread of a process, and its CPU ticks.
switches() {
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^(voluntary|nonvoluntary)_ctxt_switches/ {s += $2} END {print s + 0}'
}
cpu_ticks() { awk '{print $14 + $15}' /proc/"$1"/stat; }

# --- Files -------------------------------------------------------------------------------
system_dlls='^(kernel32|user32|gdi32|shell32|advapi32|comctl32|comdlg32|msvcrt|ole32|oleaut32|shlwapi|version|powrprof|ntdll|psapi|winmm|uxtheme|ws2_32)\.dll$'
imports() {
    x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' |
        sort -u | paste -sd' ' -
}
only_system() {
    local dll
    for dll in $(imports "$1"); do
        echo "$dll" | grep -qE "$system_dlls" || { echo "no ($dll)"; return; }
    done
    echo yes
}
size_kb() { awk -v b="$(stat -c %s "$1")" 'BEGIN {printf "%.1f", b / 1024}'; }

# --- Table -------------------------------------------------------------------------------
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (a + 0 > 0 && b + 0 > 0) printf "%.2fx", a / b; else print "-"}'; }
# measure | Halcyra | bare floor | ratio | window floor | ratio | target
row() { printf '| %-46s | %9s | %9s | %7s | %9s | %7s | %-20s |\n' "$@"; }

# A file's path relative to the repository when it lies inside it, else as given.
shown_path() {
    case "$(realpath "$1")" in
    "$root"/*) realpath --relative-to="$root" "$1" ;;
    *) echo "$1" ;;
    esac
}
