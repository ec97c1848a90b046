# qorkit featmat: CSV to feature-matrix files and back, the summary, and the failures.
set(people ${CMAKE_CURRENT_SOURCE_DIR}/data/featmat_people.csv)
set(fm ${CMAKE_CURRENT_BINARY_DIR}/featmat_people.fm)
add_test(NAME Tool.FeatmatCsvRoundTrip
    COMMAND sh -c "${tool} featmat from-csv ${people} ${fm} && ${tool} featmat to-csv ${fm} | cmp - ${people}")
add_test(NAME Tool.FeatmatInfoShowsInferredKinds
    COMMAND sh -c "${tool} featmat from-csv ${people} ${fm}.info && ${tool} featmat info - < ${fm}.info")
set_tests_properties(Tool.FeatmatInfoShowsInferredKinds PROPERTIES PASS_REGULAR_EXPRESSION
    "^objects\t2\nfeatures\t5\nfeature\tnumber\tkind\tvalues\tname\n1\t1\tfkString\t2\tname\n2\t2\tfkInteger\t1\tage\n3\t3\tfkDouble\t2\theight\n4\t4\tfkTriState\t2\tok\n5\t5\tfkString\t1\tnote\n$")
add_test(NAME Tool.FeatmatKindsOptionAndTabs
    COMMAND sh -c "${tool} featmat from-csv --kinds string,string,string,string,string -- ${people} ${fm}.k && ${tool} featmat info ${fm}.k | grep -c fkString && ${tool} featmat to-csv ${fm}.k --delim tab | head -1")
set_tests_properties(Tool.FeatmatKindsOptionAndTabs PROPERTIES PASS_REGULAR_EXPRESSION
    "^5\nname\tage\theight\tok\tnote\n$")
add_test(NAME Tool.FeatmatRefusedValueKeepsOutput
    COMMAND sh -c "${tool} featmat from-csv ${people} ${fm}.bad --kinds integer,integer,double,tristate,string; test $? -eq 1 && test ! -e ${fm}.bad")
add_test(NAME Tool.FeatmatRefusedValueMessage
    COMMAND ${tool} featmat from-csv ${people} ${fm}.bad2 --kinds integer,integer,double,tristate,string)
set_tests_properties(Tool.FeatmatRefusedValueMessage PROPERTIES PASS_REGULAR_EXPRESSION
    "qorkit: featmat: '.*featmat_people.csv' line 2, column 1: 'Ann' is not a valid integer value")
add_test(NAME Tool.FeatmatMissingFileFails COMMAND ${tool} featmat info /nonexistent/x.fm)
set_tests_properties(Tool.FeatmatMissingFileFails PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: featmat: /nonexistent/x.fm: No such file or directory\n$")
add_test(NAME Tool.FeatmatNotAMatrixFails
    COMMAND sh -c "${tool} featmat info ${people} 2>&1; test $? -eq 1")
set_tests_properties(Tool.FeatmatNotAMatrixFails PROPERTIES PASS_REGULAR_EXPRESSION
    "not a feature-matrix file \\(no featdef or featvals line\\)")
add_test(NAME Tool.FeatmatUsageErrors
    COMMAND sh -c "for a in '' 'info' 'to-csv a b' 'info x --bogus' 'from-csv a' 'x y' 'to-csv a --delim'; do ${tool} featmat $a 2>/dev/null; test $? -eq 2 || exit 1; done; ${tool} featmat from-csv ${people} o.fm --kinds integer")
set_tests_properties(Tool.FeatmatUsageErrors PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: featmat: --kinds names 1 kinds for 5 columns; see 'qorkit featmat --help'\n$")
add_test(NAME Tool.FeatmatHelp COMMAND ${tool} featmat --help)
set_tests_properties(Tool.FeatmatHelp PROPERTIES PASS_REGULAR_EXPRESSION "^usage: qorkit featmat info FILE")
