# The cpuinfo command: agreement with the kernel's view of the processor, help and usage errors.
add_test(NAME Tool.CpuInfoMatchesKernel
    COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/tools/cpuinfo_matches_proc.sh ${tool})
add_test(NAME Tool.CpuInfoReportsClockAndPaths COMMAND ${tool} cpuinfo --delay 5)
set_tests_properties(Tool.CpuInfoReportsClockAndPaths PROPERTIES PASS_REGULAR_EXPRESSION
    "vendor: [^\n]+\n.*fast paths: CRC-32 [a-z0-9-]+, SHA-1 [a-z-]+, Base64 [a-z0-9-]+\nclock: [0-9]+ MHz \\(measured over 5 ms\\)")
add_test(NAME Tool.CpuInfoHelp COMMAND ${tool} cpuinfo --help)
set_tests_properties(Tool.CpuInfoHelp PROPERTIES PASS_REGULAR_EXPRESSION "^usage: qorkit cpuinfo")
add_test(NAME Tool.CpuInfoDelayOutOfRange
    COMMAND sh -c "${tool} cpuinfo --delay 10001 2>&1; test $? -eq 2")
set_tests_properties(Tool.CpuInfoDelayOutOfRange PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: cpuinfo: --delay '10001' is out of range \\(1..10000\\); usage: qorkit cpuinfo \\[--delay MS\\]\n$")
add_test(NAME Tool.CpuInfoUnknownOption COMMAND sh -c "${tool} cpuinfo --fast 2>&1; test $? -eq 2")
set_tests_properties(Tool.CpuInfoUnknownOption PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: cpuinfo: unknown option '--fast'; usage: qorkit cpuinfo .*\n$")
