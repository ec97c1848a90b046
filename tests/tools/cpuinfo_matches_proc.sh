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
# The bits of the feature word, as "ours=kernel's" name where both know the bit. Every one the
# kernel reports must be ours; every one of ours must be the kernel's, except those a kernel
# hides under a hypervisor (mtrr).
for pair in fpu vme de pse tsc msr pae mce cx8 apic sep mtrr pge mca cmov pat pse36 clflush \
            mmx xsr=fxsr simd=sse simd2=sse2 ss reserved2=ht acpi tm; do
    o=${pair%%=*} k=${pair#*=}
    case "$flags" in *" $k "*) kernel=1 ;; *) kernel=0 ;; esac
    case "$ourflags" in *" $o "*) mine=1 ;; *) mine=0 ;; esac
    if [ $kernel = 1 ] && [ $mine = 0 ]; then echo "flag $o ($k) missing from qorkit"; fail=1; fi
    if [ $kernel = 0 ] && [ $mine = 1 ] && [ "$k" != mtrr ]; then
        echo "flag $o ($k) reported by qorkit but not by the kernel"
        fail=1
    fi
done
exit $fail
