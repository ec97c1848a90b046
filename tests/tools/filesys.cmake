# qorkit textinfo, asc-header and password, run through the tool on files made by each test.
set(fsdir ${CMAKE_CURRENT_BINARY_DIR}/filesys-tool)
file(MAKE_DIRECTORY ${fsdir})

# A command that must fail with exit status `code` and a message on stderr matching `pattern`.
function(qorkit_fs_fails name code pattern script)
    add_test(NAME Tool.${name} COMMAND sh -c
        "e=$( { ${script}; } 2>&1 >/dev/null ); rc=$?; printf '%s\\n' \"$e\"; case \"$e\" in *'${pattern}'*) ;; *) exit 99;; esac; test $rc -eq ${code}")
endfunction()

add_test(NAME Tool.TextInfoReportsEncodingLinesEndsAndLastLines COMMAND sh -c
    "printf '\\357\\273\\277one\\r\\ntwo\\nthree\\rfour' > ${fsdir}/info.txt && ${tool} textinfo ${fsdir}/info.txt --lines 2")
set_tests_properties(Tool.TextInfoReportsEncodingLinesEndsAndLastLines PROPERTIES
    PASS_REGULAR_EXPRESSION
    "encoding:  UTF-8 \\(byte-order mark\\)\n  lines:     3\n  line ends: CR LF \\(1\\), LF \\(1\\), lone CR \\(1\\); the last line has no line end\n  last 2 lines:\n    two\n    three.four\n$")
add_test(NAME Tool.TextInfoReadsStdin COMMAND sh -c "printf 'a\\nb\\n' | ${tool} textinfo -- -")
set_tests_properties(Tool.TextInfoReadsStdin PROPERTIES
    PASS_REGULAR_EXPRESSION "^-\n  encoding:  unknown.*\n  lines:     2\n  line ends: LF \\(2\\)\n  last 2 lines:\n    a\n    b\n$")
qorkit_fs_fails(TextInfoMissingFileFails 1 "qorkit: textinfo: Cannot open file \"/nonexistent/x.txt\". No such file"
    "${tool} textinfo /nonexistent/x.txt")
qorkit_fs_fails(TextInfoDirectoryFails 1 "Is a directory" "${tool} textinfo ${fsdir}")
qorkit_fs_fails(TextInfoLinesOutOfRangeIsUsageError 2 "--lines must be a number from 0 to 10000"
    "${tool} textinfo --lines 10001 ${fsdir}")
qorkit_fs_fails(TextInfoWithoutFileIsUsageError 2 "missing FILE" "${tool} textinfo")

add_test(NAME Tool.AscHeaderPrintsFields COMMAND sh -c
    "printf 'Data\\n10\\n3\\ntrue\\tfalse TRUE x\\n' > ${fsdir}/h.asc && ${tool} asc-header ${fsdir}/h.asc")
set_tests_properties(Tool.AscHeaderPrintsFields PROPERTIES PASS_REGULAR_EXPRESSION
    "^title:        Data\nfirst count:  10\nsecond count: 3\nflags:        TRUE FALSE TRUE FALSE\nstatus:       0 \\(valid\\)\n$")
qorkit_fs_fails(AscHeaderStreamRefusesTabs 1 ""
    "printf 'Data\\n10\\n3\\ntrue\\tfalse TRUE x\\n' | ${tool} asc-header - | grep -q 'status:       -3' && exit 1")
qorkit_fs_fails(AscHeaderMissingFileFails 1 "qorkit: asc-header: Cannot open file \"/nonexistent/h.asc\""
    "${tool} asc-header /nonexistent/h.asc")
qorkit_fs_fails(AscHeaderUnknownOptionIsUsageError 2 "unknown option"
    "${tool} asc-header --fast x")

add_test(NAME Tool.PasswordRepeatsWithSeed COMMAND sh -c
    "a=$(${tool} password 9 --seed 5) && b=$(${tool} password --seed=5 -- 9) && test \"$a\" = \"$b\" && echo \"$a\"")
set_tests_properties(Tool.PasswordRepeatsWithSeed PROPERTIES
    PASS_REGULAR_EXPRESSION "^[aeiouy]([bcdfghjklmnpqrstvwxz][aeiouy])[bcdfghjklmnpqrstvwxz][aeiouy][bcdfghjklmnpqrstvwxz][0-9][0-9][aeiouy]\n$")
add_test(NAME Tool.PasswordCountAndClamp COMMAND sh -c "${tool} password 40 --count 3 | awk '{ print length($0) }' | tr '\\n' ' '")
set_tests_properties(Tool.PasswordCountAndClamp PROPERTIES PASS_REGULAR_EXPRESSION "^14 14 14 ?\n?$")
qorkit_fs_fails(PasswordBadLengthIsUsageError 2 "N must be a number from 1 to 1000" "${tool} password 1001")
qorkit_fs_fails(PasswordWriteErrorFails 1 "cannot write to standard output" "${tool} password > /dev/full")
add_test(NAME Tool.PasswordHelpGoesToStdout COMMAND sh -c "${tool} password --help 2>/dev/null")
set_tests_properties(Tool.PasswordHelpGoesToStdout PROPERTIES PASS_REGULAR_EXPRESSION "^usage: qorkit password")

# find and count walk a small tree made by each test; the link back to the root is not entered.
function(qorkit_fs_tree_test name commands regex)
    set(t ${fsdir}/tree-${name})
    string(REPLACE "TREE" "${t}" commands "${commands}")
    add_test(NAME Tool.${name} COMMAND sh -c
        "rm -rf ${t} && mkdir -p ${t}/Sub/Deep && touch ${t}/a.txt ${t}/b.dat ${t}/Sub/c.TXT ${t}/Sub/Deep/d.txt && ln -s .. ${t}/Sub/loop && ${commands}")
    set_tests_properties(Tool.${name} PROPERTIES PASS_REGULAR_EXPRESSION "${regex}")
endfunction()
qorkit_fs_tree_test(FindListsMatchesRecursively "${tool} find -r 'TREE/SUB/*.txt'"
    "^[^\n]*/Sub/c.TXT\n[^\n]*/Sub/Deep/d.txt\n$")
qorkit_fs_tree_test(CountCountsFiles "${tool} count 'TREE/*.*' --recursive && ${tool} count 'TREE/*.txt'"
    "^4\n1\n$")
qorkit_fs_fails(FindMissingFolderFails 1 "no such folder" "${tool} find '/nonexistent/dir/*.txt'")
qorkit_fs_fails(CountWithoutMaskIsUsageError 2 "missing MASK" "${tool} count -r")
