# CSV files through the string table: sorting, searching and the XML round trip.
set(tables ${data}/tables)
qorkit_tool_prints(Tool.TableSortByColumn
    "^city,country,population\nAthens,Greece,664000\nbern,Switzerland,134000\nOslo,Norway,709000\nZagreb,Croatia,767000\n$"
    table sort ${tables}_cities.csv --col=1 --header)
qorkit_tool_prints(Tool.TableSortDescendingBreaksTiesBySecondColumn "^b,2\nB,1\na,9\na,3\n$"
    table sort ${tables}_ties.csv --col 1 --then 2 --desc)
qorkit_tool_prints(Tool.TableSortReadsQuotesAndPadsRaggedLines
    "^name;note;n\nb;;\nÄrger;;1\n\"Smith; John\";\"said \"\"hi\"\"\";3\n$"
    table sort ${tables}_mixed.csv --col 3 --header)
qorkit_tool_prints(Tool.TableSortReadsWindows1252 "^name,n\nÄrger,1\nZebra,2\n$"
    table sort ${tables}_cp1252.csv --col 1 --header --desc)
add_test(NAME Tool.TableWarnsAboutUnmappableText
    COMMAND qorkit_tool table sort ${tables}_unmappable.csv --col 2)
set_tests_properties(Tool.TableWarnsAboutUnmappableText PROPERTIES
    PASS_REGULAR_EXPRESSION "qorkit: table: warning: .*Windows-1252")
qorkit_tool_fails(Tool.TableSortColumnOutOfRangeFails 2
    "^qorkit: table: --col 4 is not a column of the file \\(1..3\\); see 'qorkit table --help'\n$"
    table sort ${tables}_cities.csv --col 4)
qorkit_tool_fails(Tool.TableSortColumnZeroFails 2
    "^qorkit: table: --col '0' is out of range \\(1..2147483647\\)"
    table sort ${tables}_cities.csv --col 0)
qorkit_tool_fails(Tool.TableSortNeedsColumn 2 "^qorkit: table: sort needs --col"
    table sort ${tables}_cities.csv)
qorkit_tool_fails(Tool.TableUnknownSubcommandFails 2 "^qorkit: table: unknown subcommand 'zort'"
    table zort)
qorkit_tool_prints(Tool.TableFindPrintsCells
    "^1\t2\tcountry\n1\t3\tpopulation\n2\t1\tOslo\n2\t2\tNorway\n5\t2\tCroatia\n$"
    table find ${tables}_cities.csv o)
qorkit_tool_prints(Tool.TableFindExactIgnoresCase "^3\t1\tbern\n$"
    table find ${tables}_cities.csv BERN --exact)
qorkit_tool_fails(Tool.TableFindNothingFails 1 "^$"
    table find ${tables}_cities.csv BERN --exact --case)
qorkit_tool_prints(Tool.TableDelimOptionOverridesDetection "^2\t1\tOslo,Norway,709000\n$"
    table find ${tables}_cities.csv Oslo,Norway,709000 --exact --delim "|")
add_test(NAME Tool.TableFindReadsStandardInput
    COMMAND sh -c "\"$0\" table find - Oslo <'${tables}_cities.csv'" ${tool})
set_tests_properties(Tool.TableFindReadsStandardInput PROPERTIES
    PASS_REGULAR_EXPRESSION "^2\t1\tOslo\n$")
set(xml ${CMAKE_CURRENT_BINARY_DIR}/tables_roundtrip.xml)
add_test(NAME Tool.TableXmlRoundTrip
    COMMAND sh -c "${tool} table to-xml ${tables}_canonical.csv ${xml} --id people && ${tool} table from-xml ${xml} --id PEOPLE | cmp - ${tables}_canonical.csv")
set(xml ${CMAKE_CURRENT_BINARY_DIR}/tables_stdin.xml)
add_test(NAME Tool.TableFromXmlReadsStandardInput
    COMMAND sh -c "${tool} table to-xml ${tables}_canonical.csv ${xml} && ${tool} table from-xml - <${xml} | cmp - ${tables}_canonical.csv")
set(xml ${CMAKE_CURRENT_BINARY_DIR}/tables_unknown_id.xml)
add_test(NAME Tool.TableFromXmlUnknownIdFails
    COMMAND sh -c "${tool} table to-xml ${tables}_cities.csv ${xml} --id cities || exit 9; ${tool} table from-xml ${xml} --id towns 2>&1; echo \"exit $?\"")
set_tests_properties(Tool.TableFromXmlUnknownIdFails PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: table: no table 'towns' in '.*tables_unknown_id.xml'\nexit 1\n$")
qorkit_tool_fails(Tool.TableMissingFileFails 1
    "^qorkit: table: /nonexistent/tables.csv: No such file or directory\n$"
    table sort /nonexistent/tables.csv --col 1)
