# Checksum and encoding commands agree with the familiar tools and round-trip a binary file
# (the tool itself).
add_test(NAME Tool.Sha1AcceptedBySha1sum COMMAND sh -c "\"$0\" sha1 \"$0\" | sha1sum -c -" ${tool})
foreach(codec base64 ascii85 rle)
    add_test(NAME Tool.${codec}RoundTrip
        COMMAND sh -c "\"$0\" ${codec} \"$0\" | \"$0\" ${codec} -d | cmp - \"$0\"" ${tool})
    add_test(NAME Tool.${codec}RoundTripThroughStandardInput
        COMMAND sh -c "\"$0\" ${codec} - <\"$0\" | \"$0\" ${codec} - --decode | cmp - \"$0\""
                ${tool})
endforeach()
qorkit_tool_fails(Tool.Crc32MissingFileFails 1
    "^qorkit: crc32: /nonexistent/crc.bin: No such file or directory\n$" crc32 /nonexistent/crc.bin)
qorkit_tool_fails(Tool.Sha1DirectoryFails 1 "^qorkit: sha1: /: Is a directory\n$" sha1 /)
qorkit_tool_fails(Tool.Base64TakesOneFile 2 "^qorkit: base64: extra operand 'b'; usage: "
    base64 a b)
qorkit_tool_fails(Tool.Crc16UnknownOptionFails 2
    "^qorkit: crc16: unknown option '--ccit'; usage: qorkit crc16 " crc16 --ccit)
add_test(NAME Tool.Crc16OptionAfterOperand
    COMMAND sh -c "printf 123456789 | \"$0\" crc16 - --ccitt" ${tool})
set_tests_properties(Tool.Crc16OptionAfterOperand PROPERTIES
    PASS_REGULAR_EXPRESSION "^29b1\t-\n$")
add_test(NAME Tool.Base64EndsWithLineEnd COMMAND sh -c "printf Man | \"$0\" base64" ${tool})
set_tests_properties(Tool.Base64EndsWithLineEnd PROPERTIES PASS_REGULAR_EXPRESSION "^TWFu\n$")
add_test(NAME Tool.RleTruncatedInputFails
    COMMAND sh -c "printf '\\245' | \"$0\" rle -d 2>&1 >/dev/null; echo \"exit $?\"" ${tool})
set_tests_properties(Tool.RleTruncatedInputFails PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: rle: truncated input: it ends inside a run\nexit 1\n$")
# File names with a line feed or a backslash are escaped as sha1sum escapes them, so that
# sha1sum -c reads the lines back.
set(odd ${CMAKE_CURRENT_BINARY_DIR}/odd-names)
add_test(NAME Tool.Sha1EscapesFileNames COMMAND sh -c "
    rm -rf '${odd}' && mkdir -p '${odd}' && cd '${odd}' || exit 9
    printf abc > 'back\\slash' && printf abc > \"$(printf 'line\\nfeed')\" || exit 9
    \"$0\" sha1 back* line* > sums && sha1sum -c sums && grep -c '^[\\]' sums" ${tool})
set_tests_properties(Tool.Sha1EscapesFileNames PROPERTIES PASS_REGULAR_EXPRESSION "OK\n.*OK\n2\n$")
