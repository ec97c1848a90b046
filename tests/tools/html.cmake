# Command tests of the HTML area: html fill, html text, urlencode, urldecode, and the page
# produced by html fill checked in a real browser.
set(html_data ${CMAKE_CURRENT_SOURCE_DIR}/data)

add_test(NAME Tool.HtmlFillEscapesValues
    COMMAND qorkit_tool html fill ${html_data}/html_fill.html "name=a<b & \"c\"" "T=it's")
set_tests_properties(Tool.HtmlFillEscapesValues PROPERTIES PASS_REGULAR_EXPRESSION
    "^<p title=\"it&#39;s\">a&lt;b &amp; &quot;c&quot;</p><#other x>\n$")
add_test(NAME Tool.HtmlFillRawFromStandardInput
    COMMAND sh -c "printf '<#A><#b>\\n' | ${tool} html fill - --raw a='<i>' -- b=-x")
set_tests_properties(Tool.HtmlFillRawFromStandardInput PROPERTIES
    PASS_REGULAR_EXPRESSION "^<i>-x\n$")
add_test(NAME Tool.HtmlFillStrictFailsOnMissingValue
    COMMAND sh -c "${tool} html fill --strict ${html_data}/html_fill.html name=x t=y 2>&1; echo rc=$?")
set_tests_properties(Tool.HtmlFillStrictFailsOnMissingValue PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: html: no value for the tag <#other x>\nrc=1\n$")
add_test(NAME Tool.HtmlFillMissingFileFails
    COMMAND sh -c "${tool} html fill /nonexistent/t.html 2>&1; echo rc=$?")
set_tests_properties(Tool.HtmlFillMissingFileFails PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: html: /nonexistent/t.html: No such file or directory\nrc=1\n$")
add_test(NAME Tool.HtmlFillBadPairIsUsageError
    COMMAND sh -c "${tool} html fill ${html_data}/html_fill.html novalue 2>&1; echo rc=$?")
set_tests_properties(Tool.HtmlFillBadPairIsUsageError PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: html: 'novalue' is not NAME=VALUE; see 'qorkit html --help'\nrc=2\n$")
add_test(NAME Tool.HtmlUnknownOptionIsUsageError
    COMMAND sh -c "${tool} html text --bogus ${html_data}/html_page.html 2>&1; echo rc=$?")
set_tests_properties(Tool.HtmlUnknownOptionIsUsageError PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: html: unknown option '--bogus'; see 'qorkit html --help'\nrc=2\n$")
add_test(NAME Tool.HtmlFillHelp COMMAND qorkit_tool html fill --help)
set_tests_properties(Tool.HtmlFillHelp PROPERTIES
    PASS_REGULAR_EXPRESSION "^usage: qorkit html fill \\[--raw\\] \\[--strict\\] TEMPLATE")
add_test(NAME Tool.HtmlTextShowsTheBody COMMAND qorkit_tool html text ${html_data}/html_page.html)
set_tests_properties(Tool.HtmlTextShowsTheBody PROPERTIES
    PASS_REGULAR_EXPRESSION "^Café & more\none two\nthree\n$")
add_test(NAME Tool.HtmlTextFlat COMMAND qorkit_tool html text --flat ${html_data}/html_page.html)
set_tests_properties(Tool.HtmlTextFlat PROPERTIES
    PASS_REGULAR_EXPRESSION "^Café & more one two three\n$")

add_test(NAME Tool.UrlEncodeEachText COMMAND qorkit_tool urlencode "a b&c" "100%" "ä/x")
set_tests_properties(Tool.UrlEncodeEachText PROPERTIES
    PASS_REGULAR_EXPRESSION "^a%20b%26c\n100%25\nä%2Fx\n$")
add_test(NAME Tool.UrlDecodeTwoPassesAndUtf8
    COMMAND sh -c "printf '%%2541\\r\\n%%zz\\n' | ${tool} urldecode - && ${tool} urldecode --utf8 %C3%A4")
set_tests_properties(Tool.UrlDecodeTwoPassesAndUtf8 PROPERTIES
    PASS_REGULAR_EXPRESSION "^A\n%zz\nä\n$")
add_test(NAME Tool.UrlDecodeWithoutTextIsUsageError
    COMMAND sh -c "${tool} urldecode 2>&1; echo rc=$?")
set_tests_properties(Tool.UrlDecodeWithoutTextIsUsageError PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: urldecode: missing operand; usage: qorkit urldecode .*\nrc=2\n$")
add_test(NAME Tool.UrlEncodeWriteErrorFails
    COMMAND sh -c "${tool} urlencode x 2>&1 >/dev/full; echo rc=$?")
set_tests_properties(Tool.UrlEncodeWriteErrorFails PROPERTIES PASS_REGULAR_EXPRESSION
    "^qorkit: urlencode: write error: No space left on device\nrc=1\n$")

# The browser test: skipped (exit 77, with a message) only when Chromium is not installed.
add_test(NAME Tool.HtmlPageShowsValuesInChromium
    COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/html/browser_check.sh ${tool}
            ${html_data}/html_browser.html ${CMAKE_CURRENT_BINARY_DIR}/html-browser)
set_tests_properties(Tool.HtmlPageShowsValuesInChromium PROPERTIES
    SKIP_RETURN_CODE 77 TIMEOUT 180 PASS_REGULAR_EXPRESSION "shows exactly the three values")
