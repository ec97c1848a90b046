# The graphics commands: PNG files that read back as images of the expected size, usage and
# file errors with their messages.
set(gfx ${CMAKE_CURRENT_BINARY_DIR}/graphics-tool)
file(MAKE_DIRECTORY ${gfx})
add_test(NAME Tool.GraphicsMarksWritesPng
    COMMAND sh -c "rm -f ${gfx}/marks.png && ${tool} marks --zoom 1 --png ${gfx}/marks.png && od -An -tx1 -N24 ${gfx}/marks.png")
set_tests_properties(Tool.GraphicsMarksWritesPng PROPERTIES PASS_REGULAR_EXPRESSION
    "89 50 4e 47 0d 0a 1a 0a 00 00 00 0d 49 48 44 52\n 00 00 02 81 00 00 02 81")
add_test(NAME Tool.GraphicsFrameWritesPngOptionsAnywhere
    COMMAND sh -c "${tool} frame --png - --width 100 engraved --height 50 | od -An -tx1 -j16 -N8")
set_tests_properties(Tool.GraphicsFrameWritesPngOptionsAnywhere PROPERTIES
    PASS_REGULAR_EXPRESSION "^ 00 00 00 64 00 00 00 32\n$")
add_test(NAME Tool.GraphicsFrameAcceptsFileNames
    COMMAND sh -c "${tool} frame fsLOWERED --png ${gfx}/f.png && test -s ${gfx}/f.png")
add_test(NAME Tool.GraphicsHelpGoesToStdout COMMAND sh -c "${tool} marks --help && ${tool} frame -h")
set_tests_properties(Tool.GraphicsHelpGoesToStdout PROPERTIES
    PASS_REGULAR_EXPRESSION "usage: qorkit marks.*usage: qorkit frame")
foreach(case
        "UnknownStyle|frame wobbly --png x.png|qorkit: frame: unknown frame style wobbly"
        "MissingStyle|frame --png x.png|qorkit: frame: missing operand"
        "MissingPng|marks|qorkit: marks: --png OUT is required"
        "ZoomOutOfRange|marks --png x.png --zoom 9|--zoom '9' is out of range \\(1..8\\)"
        "WidthOutOfRange|frame simple --png x.png --width 99999|--width '99999' is out of range \\(40..4096\\)"
        "UnknownOption|marks --png x.png --bogus|qorkit: marks: unknown option '--bogus'")
    string(REPLACE "|" ";" parts "${case}")
    list(GET parts 0 name)
    list(GET parts 1 cmdline)
    list(GET parts 2 message)
    add_test(NAME Tool.Graphics${name}IsUsageError
        COMMAND sh -c "cd ${gfx} && ${tool} ${cmdline}; test $? -eq 2 && test ! -e x.png")
    set_tests_properties(Tool.Graphics${name}IsUsageError PROPERTIES
        PASS_REGULAR_EXPRESSION "${message}")
endforeach()
add_test(NAME Tool.GraphicsUnwritableFolderFails
    COMMAND sh -c "${tool} marks --png /nonexistent/dir/m.png; test $? -eq 1")
set_tests_properties(Tool.GraphicsUnwritableFolderFails PROPERTIES
    PASS_REGULAR_EXPRESSION "qorkit: marks: Cannot create file .*No such file or directory")
# Text label files: the settings of a label found by its id, the label drawn, and the errors.
qorkit_tool_prints(Tool.LabelShowFindsTheLabelById
    "^caption:     a > b\nposition:    12.5, -3.5 \\(attached: tlamNone\\)\nlayer:       40\nstyle:       tlBox\n"
    label show ${data}/graphics_labels.xml --id "HAND MADE")
add_test(NAME Tool.LabelShowReadsStandardInput
    COMMAND sh -c "${tool} label show - --id a < ${data}/graphics_labels.xml")
set_tests_properties(Tool.LabelShowReadsStandardInput PROPERTIES
    PASS_REGULAR_EXPRESSION "^caption:     first\n")
add_test(NAME Tool.LabelRenderWritesPng
    COMMAND sh -c "${tool} label render ${data}/graphics_labels.xml --png - | od -An -tx1 -N8")
set_tests_properties(Tool.LabelRenderWritesPng PROPERTIES
    PASS_REGULAR_EXPRESSION "^ 89 50 4e 47 0d 0a 1a 0a\n$")
qorkit_tool_fails(Tool.LabelUnknownIdFails 1
    "^qorkit: label: no label 'zz' in '.*graphics_labels.xml'\n$"
    label show ${data}/graphics_labels.xml --id zz)
qorkit_tool_fails(Tool.LabelMissingFileFails 1 "^qorkit: label: .*No such file or directory\n$"
    label show ${gfx}/missing.xml)
qorkit_tool_fails(Tool.LabelRenderNeedsPng 2 "^qorkit: label: --png OUT is required"
    label render ${data}/graphics_labels.xml)
