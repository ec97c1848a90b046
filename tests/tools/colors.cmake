# The colour commands: color (one colour in every model) and palette (colour-array files).
# Expected failures print "rc=<code>" after the output, so the pattern checks code and message.
set(colors_data ${CMAKE_CURRENT_SOURCE_DIR}/data/colors)

add_test(NAME Tool.ColorByName COMMAND ${tool} color steelblue)
set_tests_properties(Tool.ColorByName PROPERTIES PASS_REGULAR_EXPRESSION
    "^value    00B48246  SteelBlue\nRGB      70 130 180  #4682B4\nHSL      207.3 0.440 0.490\nHSV      207.3 0.611 0.706\nHSI      207.3 0.447 0.497\nCMYK     0.431 0.196 0.000 0.294\ngrey     118\nnearest  SteelBlue 00B48246 \\(distance 0.0000\\)\n$")
add_test(NAME Tool.ColorWebHexAndNearestName COMMAND ${tool} color "#FF0001")
set_tests_properties(Tool.ColorWebHexAndNearestName PROPERTIES PASS_REGULAR_EXPRESSION
    "^value    000100FF  000100FF\nRGB      255 0 1  #FF0001\n.*nearest  Red 000000FF \\(distance 0.0023\\)\n$")
add_test(NAME Tool.ColorStoredHexAfterDashDash COMMAND ${tool} color -- $808080)
set_tests_properties(Tool.ColorStoredHexAfterDashDash PROPERTIES PASS_REGULAR_EXPRESSION
    "value    00808080  Gray\n.*HSL      0.0 0.000 0.502\nHSV      undefined 0.000 0.502\nHSI      undefined 0.000 0.502\n")
add_test(NAME Tool.ColorHelp COMMAND ${tool} color -h)
set_tests_properties(Tool.ColorHelp PROPERTIES PASS_REGULAR_EXPRESSION "^usage: qorkit color ")
add_test(NAME Tool.ColorUnknownNameFails
    COMMAND sh -c "${tool} color nosuchcolour 2>&1; echo rc=$?")
set_tests_properties(Tool.ColorUnknownNameFails PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: color: 'nosuchcolour' is neither a colour name nor a hexadecimal value\nrc=1\n$")
add_test(NAME Tool.ColorMissingOperandIsUsageError COMMAND sh -c "${tool} color 2>&1; echo rc=$?")
set_tests_properties(Tool.ColorMissingOperandIsUsageError PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: color: missing operand; usage: qorkit color [^\n]*\nrc=2\n$")
add_test(NAME Tool.ColorUnknownOptionIsUsageError
    COMMAND sh -c "${tool} color red --png x.png 2>&1; echo rc=$?")
set_tests_properties(Tool.ColorUnknownOptionIsUsageError PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: color: unknown option '--png'; usage: [^\n]*\nrc=2\n$")

add_test(NAME Tool.PaletteListsColours COMMAND ${tool} palette ${colors_data}_palette.txt --list)
set_tests_properties(Tool.PaletteListsColours PROPERTIES PASS_REGULAR_EXPRESSION
    "^1\t000000FF\t255 0 0\tRed\n2\t0000FF00\t0 255 0\tLime\n3\t00FF0000\t0 0 255\tBlue\n4\t00FFFFFF\t255 255 255\tWhite\n5\t00778899\t153 136 119\tBronze\n$")
add_test(NAME Tool.PaletteDrawsAStrip
    COMMAND ${tool} palette --width 5 -- ${colors_data}_palette.txt)
set_tests_properties(Tool.PaletteDrawsAStrip PROPERTIES PASS_REGULAR_EXPRESSION
    "^.\\[48;2;255;0;0m .\\[0m.\\[48;2;0;255;0m .\\[0m.\\[48;2;0;0;255m .\\[0m.\\[48;2;255;255;255m .\\[0m.\\[48;2;153;136;119m .\\[0m\n5 colours, 000000FF .. 00778899\n$")
add_test(NAME Tool.PaletteReadsStandardInput
    COMMAND sh -c "${tool} palette --list - < ${colors_data}_palette.txt")
set_tests_properties(Tool.PaletteReadsStandardInput PROPERTIES PASS_REGULAR_EXPRESSION
    "^1\t000000FF\t255 0 0\tRed\n.*5\t00778899\t153 136 119\tBronze\n$")
add_test(NAME Tool.PaletteHelp COMMAND ${tool} palette --help)
set_tests_properties(Tool.PaletteHelp PROPERTIES PASS_REGULAR_EXPRESSION
    "^usage: qorkit palette .*--width N")
add_test(NAME Tool.PaletteMissingFileFails
    COMMAND sh -c "${tool} palette /nonexistent/palette.txt 2>&1; echo rc=$?")
set_tests_properties(Tool.PaletteMissingFileFails PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: palette: /nonexistent/palette.txt: No such file or directory\nrc=1\n$")
add_test(NAME Tool.PaletteDirectoryFails
    COMMAND sh -c "${tool} palette ${CMAKE_CURRENT_SOURCE_DIR}/data 2>&1; echo rc=$?")
set_tests_properties(Tool.PaletteDirectoryFails PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: palette: [^\n]*data: Is a directory\nrc=1\n$")
add_test(NAME Tool.PaletteTruncatedFileFails
    COMMAND sh -c "${tool} palette ${colors_data}_truncated.txt 2>&1; echo rc=$?")
set_tests_properties(Tool.PaletteTruncatedFileFails PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: palette: '[^']*' is not a colour-array file [^\n]*\nrc=1\n$")
add_test(NAME Tool.PaletteWidthOutOfRange
    COMMAND sh -c "${tool} palette --width 5000 ${colors_data}_palette.txt 2>&1; echo rc=$?")
set_tests_properties(Tool.PaletteWidthOutOfRange PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: palette: --width '5000' is out of range \\(1..1024\\); usage: [^\n]*\nrc=2\n$")
add_test(NAME Tool.PaletteMissingOperand COMMAND sh -c "${tool} palette --list 2>&1; echo rc=$?")
set_tests_properties(Tool.PaletteMissingOperand PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: palette: missing operand; usage: [^\n]*\nrc=2\n$")
add_test(NAME Tool.PaletteWritesPngStrip
    COMMAND sh -c "${tool} palette --width 5 --png - ${colors_data}_palette.txt | od -An -tx1 -j16 -N8")
set_tests_properties(Tool.PaletteWritesPngStrip PROPERTIES
    PASS_REGULAR_EXPRESSION "^ 00 00 00 28 00 00 00 30\n$")
add_test(NAME Tool.PalettePngAndListExcludeEachOther
    COMMAND sh -c "${tool} palette --list --png x.png ${colors_data}_palette.txt 2>&1; echo rc=$?")
set_tests_properties(Tool.PalettePngAndListExcludeEachOther PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: palette: --list and --png exclude each other; usage: [^\n]*\nrc=2\n$")
