# The conventions the dispatcher gives every command: help texts, exit codes, one-line errors
# and the write check of standard output.
qorkit_tool_prints(Tool.TourRuns "^A short tour of Qorkit .*== " tour)
qorkit_tool_prints(Tool.VersionPrintsVersion "^qorkit ${PROJECT_VERSION}\n$" version)
qorkit_tool_prints(Tool.VersionOption "^qorkit ${PROJECT_VERSION}\n$" --version)
qorkit_tool_prints(Tool.HelpOption "^qorkit - .*\ncommands:\n" --help)
qorkit_tool_prints(Tool.HelpShortOption "\ncommands:\n" -h)
qorkit_tool_prints(Tool.HelpOfOneCommand "^usage: qorkit sha1 \\[FILE...\\]\n\nSHA-1 " help sha1)
qorkit_tool_prints(Tool.CommandHelpWinsOverOperands
    "^usage: qorkit fmt VALUE WIDTH DECIMALS\n" fmt 1 -h 2)
qorkit_tool_fails(Tool.UnknownCommandFails 2
    "^qorkit: unknown command 'no-such-command'; try 'qorkit help'\n" no-such-command)
qorkit_tool_fails(Tool.UnknownGlobalOptionFails 2 "^qorkit: unknown option '--bogus'" --bogus)
qorkit_tool_fails(Tool.HelpOfUnknownCommandFails 2 "^qorkit: help: unknown command 'nope'"
    help nope)
qorkit_tool_fails(Tool.ExtraOperandFails 2
    "^qorkit: version: extra operand 'x'; usage: qorkit version\n$" version x)

# Every line of `qorkit help` that holds a summary has at least two blanks before it, and all
# summaries start in the same column.
add_test(NAME Tool.HelpColumnsAreAligned COMMAND sh -c "
    \"$0\" help | awk '/^  qorkit / && /[^ ]  +[a-zA-Z]/ {
        match($0, /[^ ]  +[^ ]/); col = RSTART + RLENGTH - 1
        if (seen && col != first) { print \"misaligned: \" $0; bad = 1 }
        if (!seen) { first = col; seen = 1 } }
        /^   +[^ ]/ { match($0, /[^ ]/); if (seen && RSTART != first) { print \"misaligned: \" $0; bad = 1 } }
        END { exit bad || !seen }'" ${tool})

# Every registered command, also those added later: --help prints its usage and exits 0, an
# unknown option is a usage error with a one-line message, and output that cannot be written
# is a failure.
add_test(NAME Tool.EveryCommandFollowsTheConventions COMMAND sh -c "
    t=$0; status=0
    for c in $(\"$t\" help | sed -n 's/^  qorkit \\([a-z0-9-]*\\).*/\\1/p' | sort -u); do
        \"$t\" $c --help | grep -q \"^usage: qorkit $c\" || { echo \"$c: --help\"; status=1; }
        \"$t\" $c -h >/dev/null || { echo \"$c: -h\"; status=1; }
        msg=$(\"$t\" $c --no-such-option </dev/null 2>&1 >/dev/null); rc=$?
        [ $rc -eq 2 ] || { echo \"$c: unknown option gave $rc\"; status=1; }
        case $msg in \"qorkit: $c: \"*) ;; *) echo \"$c: message '$msg'\"; status=1;; esac
        [ $(printf '%s\\n' \"$msg\" | wc -l) -eq 1 ] || { echo \"$c: message not one line\"; status=1; }
        \"$t\" $c --help >/dev/full 2>/dev/null && { echo \"$c: write error ignored\"; status=1; }
    done
    exit $status" ${tool})

add_test(NAME Tool.WriteErrorFails
    COMMAND sh -c "\"$0\" sha1 \"$0\" >/dev/full 2>&1; echo \"exit $?\"" ${tool})
add_test(NAME Tool.WriteErrorIsReported
    COMMAND sh -c "\"$0\" tour 2>&1 >/dev/full; echo \"exit $?\"" ${tool})
set_tests_properties(Tool.WriteErrorIsReported PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: tour: write error: No space left on device\nexit 1\n$")
set_tests_properties(Tool.WriteErrorFails PROPERTIES PASS_REGULAR_EXPRESSION "exit 1\n$")

# The tour prints no raw carriage returns.
add_test(NAME Tool.TourHasNoCarriageReturns
    COMMAND sh -c "\"$0\" tour | od -An -c | grep -q '\\\\r' && exit 1; exit 0" ${tool})
