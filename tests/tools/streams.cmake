# Stream commands over files and standard input.
add_test(NAME Tool.LinesReadsStandardInput COMMAND sh -c "printf 'a\\nb\\nc' | \"$0\" lines" ${tool})
set_tests_properties(Tool.LinesReadsStandardInput PROPERTIES PASS_REGULAR_EXPRESSION "^2\t-\n$")
qorkit_tool_fails(Tool.LinesMissingFileFails 1
    "^qorkit: lines: /nonexistent/l.txt: No such file or directory\n$" lines /nonexistent/l.txt)
add_test(NAME Tool.TagsReadsStandardInput
    COMMAND sh -c "printf '<a x=\"1\">t</a><b/>' | \"$0\" tags - a" ${tool})
set_tests_properties(Tool.TagsReadsStandardInput PROPERTIES PASS_REGULAR_EXPRESSION
    "^0\ta\tattributes: x=\"1\"\ttext: \"t\"\n14\t-\n2 tags\n$")
qorkit_tool_fails(Tool.TagsMissingFileFails 1
    "^qorkit: tags: /nonexistent/t.xml: No such file or directory\n$" tags /nonexistent/t.xml)
add_test(NAME Tool.ScanNumbersOptionsAfterOperand
    COMMAND sh -c "printf 'x 1,5 y 2e3' | \"$0\" scan-numbers - --comma --noexp" ${tool})
set_tests_properties(Tool.ScanNumbersOptionsAfterOperand PROPERTIES
    PASS_REGULAR_EXPRESSION "^1.5\n2\n3\n$")
