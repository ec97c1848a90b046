# Number formatting and UU coding from the command line; numbers are bounded.
qorkit_tool_prints(Tool.FmtFormats "^\\[   3.142\\]\n$" fmt 3.14159 8 3)
qorkit_tool_prints(Tool.FmtNegativeDecimalsAreOperands "^\\[ 4.568E\\+03\\]\n$" fmt 4567.89 10 -2)
qorkit_tool_fails(Tool.FmtWidthOutOfRangeFails 2
    "^qorkit: fmt: WIDTH '2000000000' is out of range \\(-1000..1000\\); usage: " fmt 3.1 2000000000 3)
qorkit_tool_fails(Tool.FmtHugeWidthFails 2 "^qorkit: fmt: WIDTH '99999999999999999999' is out of range"
    fmt 3.1 99999999999999999999 3)
qorkit_tool_fails(Tool.FmtWidthNotIntegerFails 2 "^qorkit: fmt: DECIMALS '2x' is not an integer"
    fmt 3.1 8 2x)
qorkit_tool_fails(Tool.FmtValueNotNumberFails 2 "^qorkit: fmt: VALUE 'pi' is not a number" fmt pi 8 2)
qorkit_tool_fails(Tool.SigDigMissingOperandFails 2 "^qorkit: sigdig: missing operand" sigdig 1 2)
add_test(NAME Tool.UuRoundTrip
    COMMAND sh -c "\"$0\" uuencode - <\"$0\" | \"$0\" uudecode | cmp - \"$0\"" ${tool})
add_test(NAME Tool.UudecodeTruncatedInputFails
    COMMAND sh -c "printf 'begin 644 x\\nM\\n' | \"$0\" uudecode 2>&1; echo \"exit $?\"" ${tool})
set_tests_properties(Tool.UudecodeTruncatedInputFails PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: uudecode: truncated input: malformed input in line 2: line shorter than its length\nexit 1\n$")
