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

# copytree, deltree, trash and drives on trees made by each test (the link is copied as a link).
qorkit_fs_tree_test(CopyTreeCopiesFilesAndLinks
    "${tool} copytree TREE TREE-copy/new && cat TREE-copy/new/Sub/c.TXT && test -L TREE-copy/new/Sub/loop && ${tool} count -r 'TREE-copy/new/*.*'"
    "^4\n$")
qorkit_fs_tree_test(CopyTreeIntoItselfFails
    "${tool} copytree TREE TREE/Sub/x 2>&1; echo \"exit $?\"; test ! -e TREE/Sub/x"
    "^qorkit: copytree: [^\n]*/Sub/x: DST lies inside SRC\nexit 1\n$")
qorkit_fs_fails(CopyTreeMissingSourceFails 1 "/nonexistent/src: no such folder"
    "${tool} copytree /nonexistent/src ${fsdir}/never && test ! -e ${fsdir}/never")
qorkit_fs_fails(CopyTreeWithoutDestIsUsageError 2 "missing operand" "${tool} copytree ${fsdir}")
qorkit_fs_tree_test(DelTreeWithYesDeletes "${tool} deltree --yes TREE/Sub && test ! -e TREE/Sub && ls TREE"
    "^a.txt\nb.dat\n$")
qorkit_fs_tree_test(DelTreeWithoutTerminalRefuses
    "${tool} deltree TREE < /dev/null 2>&1; echo \"exit $?\"; test -e TREE/a.txt"
    "^qorkit: deltree: not a terminal: give --yes to delete without asking; usage: [^\n]*\nexit 2\n$")
qorkit_fs_tree_test(DelTreeAsksOnTerminal
    "printf 'n\\n' | timeout 20 script -qec '${tool} deltree TREE/Sub' /dev/null; test -e TREE/Sub && printf 'y\\n' | timeout 20 script -qec '${tool} deltree TREE/Sub' /dev/null && test ! -e TREE/Sub && echo gone"
    "delete [^\n]*/Sub and everything in it\\? \\[y/N\\] qorkit: deltree: [^\n]*: not deleted.*gone\n$")
qorkit_fs_fails(DelTreeMissingFolderFails 1 "/nonexistent/d: no such folder" "${tool} deltree -y /nonexistent/d")
qorkit_fs_tree_test(TrashMovesIntoTheTrash
    "XDG_DATA_HOME=TREE/data ${tool} trash TREE/a.txt 'TREE/*.dat' && test ! -e TREE/a.txt && cat TREE/data/Trash/info/a.txt.trashinfo && ls TREE/data/Trash/files"
    "^\\[Trash Info\\]\nPath=/[^\n]*/a.txt\nDeletionDate=[0-9T:-]+\na.txt\nb.dat\n$")
qorkit_fs_tree_test(TrashWithAMissingFileMovesNothing
    "XDG_DATA_HOME=TREE/data ${tool} trash TREE/a.txt TREE/missing 2>&1; echo \"exit $?\"; test -e TREE/a.txt && test ! -e TREE/data"
    "^qorkit: trash: [^\n]*/missing: no such file\nexit 1\n$")
qorkit_fs_fails(TrashFolderFails 1 ": is a folder" "${tool} trash ${fsdir}")
qorkit_fs_fails(TrashWithoutFileIsUsageError 2 "missing operand" "${tool} trash")
add_test(NAME Tool.DrivesListsTheRoot COMMAND ${tool} drives)
set_tests_properties(Tool.DrivesListsTheRoot PROPERTIES PASS_REGULAR_EXPRESSION
    "^C:\t(fixed|removable|remote|ramdisk|cdrom|unknown)\t-?[0-9]+\t/\n")
qorkit_fs_fails(DrivesWithOperandIsUsageError 2 "extra operand" "${tool} drives x")
qorkit_fs_tree_test(CopyTreeShowsProgressOnATerminalOnly
    "${tool} copytree TREE TREE-quiet 2>&1 | wc -c && timeout 20 script -qec '${tool} copytree TREE TREE-tty' /dev/null"
    "^0\n.*\\[#+ *\\] [0-9]+% ")
