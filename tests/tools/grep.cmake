# The grep command: options anywhere, "--", standard input, exit codes.
add_test(NAME Tool.GrepReadsStandardInputWithOptionsLast
    COMMAND sh -c "printf 'xAbC\\nnone\\nabc\\n' | \"$0\" grep abc - -ni" ${tool})
set_tests_properties(Tool.GrepReadsStandardInputWithOptionsLast PROPERTIES
    PASS_REGULAR_EXPRESSION "^1:xAbC\n3:abc\n$")
add_test(NAME Tool.GrepDoubleDashEndsOptions
    COMMAND sh -c "printf 'a-x\\n' | \"$0\" grep -o -- -x" ${tool})
set_tests_properties(Tool.GrepDoubleDashEndsOptions PROPERTIES PASS_REGULAR_EXPRESSION "^-x\n$")
qorkit_tool_fails(Tool.GrepNoMatchExitsOne 1 "^$" grep zzz ${data}/words_sample.txt)
qorkit_tool_fails(Tool.GrepBadPatternFails 2 "^qorkit: grep: error in pattern: \\*, \\?, \\+ have to be applied" grep "a**")
qorkit_tool_fails(Tool.GrepMissingFileFails 2
    "^qorkit: grep: /nonexistent/g.txt: No such file or directory\n$" grep a /nonexistent/g.txt)
