# Command tests of the combinatorics commands (included inside the tool block; `tool` is the
# program's path).
add_test(NAME Tool.CombinationsListsLexicographically COMMAND qorkit_tool combinations 2 4)
set_tests_properties(Tool.CombinationsListsLexicographically PROPERTIES
    PASS_REGULAR_EXPRESSION "^1 2\n1 3\n1 4\n2 3\n2 4\n3 4\n$")
add_test(NAME Tool.CombinationsAllOfThemIsOne COMMAND qorkit_tool combinations 255 255)
set_tests_properties(Tool.CombinationsAllOfThemIsOne PROPERTIES
    PASS_REGULAR_EXPRESSION "^1 2 3 .* 254 255\n$")
add_test(NAME Tool.CombinationsCountOutOfRangeFails
    COMMAND sh -c "${tool} combinations 3 256 2>&1; test $? -eq 2")
set_tests_properties(Tool.CombinationsCountOutOfRangeFails PROPERTIES
    PASS_REGULAR_EXPRESSION "^qorkit: combinations: M must be a whole number in 3..255, not '256'")
add_test(NAME Tool.CombinationsMissingOperandFails
    COMMAND sh -c "${tool} combinations 3 2>&1; test $? -eq 2")
set_tests_properties(Tool.CombinationsMissingOperandFails PROPERTIES
    PASS_REGULAR_EXPRESSION "^qorkit: combinations: missing operand; usage:")
add_test(NAME Tool.PermutationsFollowTheLevelOrder COMMAND qorkit_tool permutations -- 3)
set_tests_properties(Tool.PermutationsFollowTheLevelOrder PROPERTIES
    PASS_REGULAR_EXPRESSION "^1 2 3\n2 1 3\n2 3 1\n1 3 2\n3 1 2\n3 2 1\n$")
add_test(NAME Tool.PermutationsCountFactorial
    COMMAND sh -c "${tool} permutations 7 | sort -u | wc -l")
set_tests_properties(Tool.PermutationsCountFactorial PROPERTIES PASS_REGULAR_EXPRESSION "^5040\n$")
# 12! lines would take minutes: the command must stop as soon as the reader goes, quietly and
# with status 0, whether the pipe's signal is ignored or not.
foreach(signal default ignored)
    if(signal STREQUAL "ignored")
        set(trap "trap '' PIPE; ")
    else()
        set(trap "")
    endif()
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/closed_pipe_${signal})
    add_test(NAME Tool.PermutationsStopOnClosedPipe_${signal}
        COMMAND sh -c "mkdir -p ${dir} && cd ${dir} && ${trap}{ ${tool} permutations 12 2>err; echo $? >status; } | head -n 1 >out; cat out err status; test \"$(cat out)\" = '1 2 3 4 5 6 7 8 9 10 11 12' && test ! -s err && test $(cat status) -eq 0")
    set_tests_properties(Tool.PermutationsStopOnClosedPipe_${signal} PROPERTIES TIMEOUT 30)
endforeach()
add_test(NAME Tool.PermutationsWriteErrorReported
    COMMAND sh -c "${tool} permutations 8 2>&1 >/dev/full; test $? -eq 1")
set_tests_properties(Tool.PermutationsWriteErrorReported PROPERTIES
    PASS_REGULAR_EXPRESSION "^qorkit: permutations: standard output: No space left on device\n$")
add_test(NAME Tool.PermutationsUnknownOptionFails
    COMMAND sh -c "${tool} permutations --fast 3 2>&1; test $? -eq 2")
set_tests_properties(Tool.PermutationsUnknownOptionFails PROPERTIES
    PASS_REGULAR_EXPRESSION "^qorkit: permutations: unknown option '--fast'")
add_test(NAME Tool.PermutationsHelp COMMAND qorkit_tool permutations --help)
set_tests_properties(Tool.PermutationsHelp PROPERTIES
    PASS_REGULAR_EXPRESSION "^usage: qorkit permutations N\n")
add_test(NAME Tool.NearestRealsFirstOfEqualDistances COMMAND qorkit_tool nearest 2.5 1 2 3)
set_tests_properties(Tool.NearestRealsFirstOfEqualDistances PROPERTIES
    PASS_REGULAR_EXPRESSION "^1\t2\n$")
add_test(NAME Tool.NearestNegativeOperands COMMAND qorkit_tool nearest -2147483648 2147483647 0)
set_tests_properties(Tool.NearestNegativeOperands PROPERTIES PASS_REGULAR_EXPRESSION "^1\t0\n$")
add_test(NAME Tool.NearestNoFiniteDistanceFails
    COMMAND sh -c "${tool} nearest 5 inf -inf 2>&1; test $? -eq 1")
set_tests_properties(Tool.NearestNoFiniteDistanceFails PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: nearest: no value lies at a finite distance from 5\n$")
add_test(NAME Tool.NearestNotANumberFails COMMAND sh -c "${tool} nearest 1 2 x3 2>&1; test $? -eq 2")
set_tests_properties(Tool.NearestNotANumberFails PROPERTIES
    PASS_REGULAR_EXPRESSION "^qorkit: nearest: not a number: 'x3'")
