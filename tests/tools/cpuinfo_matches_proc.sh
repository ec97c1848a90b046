#!/bin/sh
# Compares `qorkit cpuinfo` with the kernel's /proc/cpuinfo: vendor, family, model, stepping
# and the feature flags both name alike. Passes without checking where there is no such file.
tool=$1
[ -r /proc/cpuinfo ] && grep -q '^vendor_id' /proc/cpuinfo || exit 0
out=$("$tool" cpuinfo --delay 20) || exit 1
field() { grep -m1 "^$1[[:space:]]*:" /proc/cpuinfo | sed 's/^[^:]*: *//'; }
ours() { printf '%s\n' "$out" | grep -m1 "^$1: " | sed "s/^$1: //; s/ (.*//"; }
fail=0
check() {
    if [ "$2" != "$3" ]; then
        echo "mismatch in $1: qorkit '$2', kernel '$3'"
        fail=1
    fi
}
check vendor "$(ours vendor)" "$(field vendor_id)"
check family "$(ours family)" "$(field 'cpu family')"
check model "$(ours model)" "$(field model)"
check stepping "$(ours stepping)" "$(field stepping)"
flags=" $(field flags) "
ourflags=" $(printf '%s\n' "$out" | grep -m1 '^flags: ' | sed 's/^flags: //') "
# Bits the kernel names the same way. The kernel may hide a bit (mtrr under a hypervisor), so
# every one it reports must be ours, not the other way round.
for f in fpu vme de pse tsc msr pae mce cx8 apic sep mtrr pge mca cmov pat pse36 clflush mmx; do
    case "$flags" in *" $f "*)
        case "$ourflags" in *" $f "*) ;; *) echo "flag $f missing from qorkit"; fail=1 ;; esac ;;
    esac
done
exit $fail
