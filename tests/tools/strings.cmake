# String-utility commands: translit, hexchars, words.
qorkit_tool_prints(Tool.TranslitExpandsAndReduces
    "^expanded: Aepfel Mass\naz09: +Aepfel_Mass\nfn83: +Aepfel_Mass\n$" translit "Äpfel Maß")
qorkit_tool_prints(Tool.HexCharsResolvesEscapes "^AA\\\\#42\n$" hexchars "A\\#41\\\\#42")
qorkit_tool_prints(Tool.WordsCountsFile "^3\t" words ${data}/words_sample.txt)
qorkit_tool_prints(Tool.WordsOptionAfterOperands "^3\t.*\n3\t.*\n6\ttotal\n$"
    words ${data}/words_sample.txt ${data}/words_sample.txt --utf8)
qorkit_tool_fails(Tool.WordsMissingFileFails 1
    "^qorkit: words: /nonexistent/words.txt: No such file or directory\n$"
    words /nonexistent/words.txt)
qorkit_tool_fails(Tool.TranslitNeedsText 2 "^qorkit: translit: missing operand; usage: " translit)
# Standard input, in blocks: a word that straddles the 64 KiB block boundary counts once, and
# one long run of letters counts as one word.
add_test(NAME Tool.WordsStreamsStandardInput COMMAND sh -c "
    { head -c 65535 /dev/zero | tr '\\0' ' '; printf 'ab cd ef\\n'; head -c 200000 /dev/zero | tr '\\0' x; echo; } |
    \"$0\" words - " ${tool})
set_tests_properties(Tool.WordsStreamsStandardInput PROPERTIES PASS_REGULAR_EXPRESSION "^4\t-\n$")
