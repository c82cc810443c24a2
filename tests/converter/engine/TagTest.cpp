// Tag-level cases of the translator, one table: an FB2 fragment and the option words (as in the golden
// cases) go through the scanner and ANALIZ; the main file, the contents stream and the log must be
// exactly as given, and the same at every block size. The main file is NAME.htm, so contents links
// name NAME.htm.

#include "EngineTestSupport.h"

#include "engine/Scanner.h"
#include "engine/Translator.h"
#include "platform/File.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"
#include "textfile/TextFile.h"

using namespace enginetest;

namespace {

struct Output {
    std::string main, contents, log;
    bool operator==(const Output&) const = default;
};

Output translate(const std::string& fragment, const CaseOptions& setup, uint32_t blockSize) {
    testsupport::TempDir dir;
    TextFile source, main, contents, log;
    source.Open(dir.write("book.fb2", fragment), platform::FO_READONLY);
    main.Create(dir.path("NAME.htm"));
    contents.Create(dir.path("NAME_C.HTM"));
    log.Create(dir.path("NAME.log"));

    testsupport::RecordingHost host;
    AnsweringPresenter presenter(setup.answers);
    RunState state;
    ConversionOptions options = setup.options;
    WriteGuard guard;
    Translator translator(state, options, guard, TranslatorSetup{"NAME", ".htm", {}});
    const std::string folder = dir.folder();
    Scanner scanner(
        host,
        [&](const ScannedTag& tag) {
            translator.ANALIZ(log, main, contents, tag.tagText, tag.kind, tag.name, tag.attributes, tag.tagStart,
                              tag.tagEnd, tag.pending, tag.stack, folder, host);
        },
        [] { return false; }, blockSize);
    EXPECT_EQ(scanner.scan(source, state.CSTACK), ScanResult::Finished);
    EXPECT_FALSE(guard.failed);
    for (TextFile* file : {&source, &main, &contents, &log})
        file->Close();
    return {testsupport::readFile(dir.path("NAME.htm")), testsupport::readFile(dir.path("NAME_C.HTM")),
            testsupport::readFile(dir.path("NAME.log"))};
}

const std::string J = "<DIV ALIGN=\"justify\">&nbsp;&nbsp;&nbsp;&nbsp;";
const std::string C = "<DIV ALIGN=\"center\">";
const std::string ANN = "<FONT face=\"Arial Cyr, Arial\"><DIV align=\"center\"><FONT color=navy size=\"+2\"> "
                        "Annotation </FONT></DIV>\r\n<I><P align=\"justify\">&nbsp;&nbsp;&nbsp;&nbsp;";
const std::string DIR7 = "<DIR><DIR><DIR><DIR><DIR><DIR><DIR>";
const std::string EDIR7 = "</DIR></DIR></DIR></DIR></DIR></DIR></DIR>";
const std::string TABLE = "<TABLE border=\"3\" bordercolor=\"#000000\">";
std::string head(const std::string& charset, bool background = false) {
    return "<HEAD>\r\n<META HTTP-EQUIV=\"Content-type\" CONTENT=\"text/html; charset=" + charset +
           "\">\r\n<META name=\"autor\" content=\"Created by Papyrant, =Orvane= Software Development, "
           "https://papyrant.org\">\r\n</HEAD>\r\n" +
           (background ? "<BODY BACKGROUND=\"Paper.jpg\">\r\n" : "");
}
const std::string END = "</BODY>\r\n</HTML>\r\n";

struct Row {
    const char* what;
    std::string fragment;
    std::string options;
    Output expected;
};

// clang-format off
const Row kRows[] = {
    // Text routing
    {"blank text between tags and closing tags of unhandled elements write nothing",
     "<body>\n  <section>\r\n\t<p>x</p>\n</section>\n</body>", "", {J + "x</DIV>\r\n", "", ""}},
    {"a blank text inside a paragraph is dropped like any blank text",
     "<body><p><strong>a</strong> <emphasis>b</emphasis></p></body>", "", {J + "<B>a</B><I>b</I></DIV>\r\n", "", ""}},
    {"references, raw bytes and line ends pass unchanged",
     "<body><p>&lt;&#x41;\xC0\xFF\r\nb</p></body>", "", {J + "&lt;&#x41;\xC0\xFF\r\nb</DIV>\r\n", "", ""}},
    {"element names are case-sensitive", "<body><P>x</P></body>", "log=1", {"", "", "body\r\nP\r\n"}},
    {"attribute names are exact", "<body><section ID=\"s\"><p>x</p></section></body>", "",
     {J + "x</DIV>\r\n", "", ""}},
    {"only binaries: nothing for any other element, not even the log",
     "<body><p>x</p><foo/></body>", "onlybinaries=1 binaries=1 log=1", {"", "", ""}},

    // Document head
    {"the encoding without quotes; apostrophes stay",
     "<?xml version=\"1.0\" encoding='koi8-r'?><description></description>", "",
     {head("'koi8-r'") + "<HR>\r\n", "", ""}},
    {"an empty-element description writes only <HR>", "<description/>", "", {"<HR>\r\n", "", ""}},
    {"background: BODY start tag in the head and in the contents stream of layout 2",
     "<?xml encoding=\"utf-8\"?><FictionBook><description></description></FictionBook>", "background=1 contents=2",
     {"<HTML>" + head("utf-8", true) + "<HR>\r\n" + END, "<HTML>" + head("utf-8", true) + END, ""}},
    {"layout 1: no head in the contents stream, links without target",
     "<FictionBook><description><title-info><book-title>T</book-title></title-info></description></FictionBook>",
     "contents=1",
     {"<HTML>" + head("utf-8") + "<FONT color=navy><DIV align=center><H2><A name=CO1>T</A></H2></DIV></FONT>\r\n"
      "<HR>\r\n" + END,
      "<FONT color=navy><DIV align=left><H5><A href=NAME.htm#CO1>T </A></H5></DIV></FONT>\r\n", ""}},
    {"name parts in title-info are written without an author heading",
     "<title-info><translator><first-name>A</first-name><nickname>N</nickname></translator></title-info>", "",
     {"<U>A </U><U>N </U>", "", ""}},
    {"home page and e-mail", "<title-info><home-page>h</home-page><email>e</email></title-info>", "",
     {"<H3><U>h </U></H3>\r\n<H3><U>e </U></H3>\r\n", "", ""}},
    {"name parts outside title-info are unhandled, logged at every opening",
     "<document-info><first-name>A</first-name><first-name>B</first-name></document-info>", "log=1",
     {"", "", "document-info\r\nfirst-name\r\nfirst-name\r\n"}},
    {"book title without contents: no anchor",
     "<title-info><book-title>T</book-title></title-info>", "",
     {"<FONT color=navy><DIV align=center><H2>T</H2></DIV></FONT>\r\n", "", ""}},
    {"book title and annotation take consecutive numbers; the annotation's text stays out of the contents",
     "<title-info><book-title>T</book-title><annotation>A</annotation></title-info>", "contents=2",
     {"<FONT color=navy><DIV align=center><H2><A name=CO1>T</A></H2></DIV></FONT>\r\n" + ANN +
      "<A name=CO2>A</A></P></I>\r\n",
      "<FONT color=navy><DIV align=left><H5><A href=NAME.htm#CO1 target=\"window-1\">T </A></H5></DIV></FONT>\r\n"
      "<LI><FONT color=navy size=\"-1\"><A href=NAME.htm#CO2 target=\"window-1\"> Annotation </A></FONT></LI>", ""}},
    {"annotation with an id: anchored by it, the counter does not advance",
     "<annotation id=\"a1\">A</annotation><body><title>T</title></body>", "contents=1",
     {ANN + "<A name=a1>A</A></P></I>\r\n<FONT color=navy align=center><H2><A name=CO1>T</A></H2></FONT>\r\n",
      "<LI><FONT color=navy size=\"-1\"><A href=NAME.htm#a1> Annotation </A></FONT></LI>"
      "<LI><FONT color=navy size=\"-1\"><A href=NAME.htm#CO1>T </A></FONT></LI>\r\n", ""}},
    {"annotation with an empty id: an anchor of that name, no numbered one, an entry that is no link",
     "<annotation id=\"\">A</annotation>", "contents=1",
     {ANN + "<A name=>A</P></I>\r\n", "<LI><FONT color=navy size=\"-1\"> Annotation </FONT></LI>", ""}},
    {"paragraphs, bold and italic of an annotation are unhandled: texts run on without markup",
     "<annotation><p>One</p><p><strong>B</strong><emphasis>I</emphasis></p></annotation>", "log=1",
     {ANN + "OneBI</P></I>\r\n", "", "p\r\np\r\nstrong\r\nemphasis\r\n"}},

    // Body and contents
    {"a title outside body is unhandled, and so is its paragraph",
     "<section><title><p>T</p></title></section>", "log=1", {"", "", "title\r\np\r\n"}},
    {"a title of two paragraphs gives an entry of two pieces",
     "<body><title><p>A</p><p>B</p></title></body>", "contents=2",
     {"<FONT color=navy align=center><H2><A name=CO1>" + C + "A</DIV>\r\n" + C + "B</DIV>\r\n</A></H2></FONT>\r\n",
      "<LI><FONT color=navy size=\"-1\"><A href=NAME.htm#CO1 target=\"window-1\">A B </A></FONT></LI>\r\n", ""}},
    {"a section without a title gives an empty list", "<body><section><p>x</p></section></body>", "contents=1",
     {J + "x</DIV>\r\n", "<UL></UL>\r\n", ""}},
    {"an annotation inside a section has its entry inside the section's list",
     "<body><section><annotation>A</annotation></section></body>", "contents=2",
     {ANN + "<A name=CO1>A</A></P></I>\r\n",
      "<UL><LI><FONT color=navy size=\"-1\"><A href=NAME.htm#CO1 target=\"window-1\"> Annotation </A></FONT></LI>"
      "</UL>\r\n", ""}},
    {"subtitle with an id without contents: anchored in the main file only",
     "<body><subtitle id=\"x1\">S</subtitle></body>", "",
     {"<FONT color=green><H3><CENTER><A name=x1>S</A></CENTER></H3></FONT>\r\n", "", ""}},
    {"subtitle with an empty id: no numbered anchor",
     "<body><subtitle id=\"\">S</subtitle></body>", "contents=1",
     {"<FONT color=green><H3><CENTER><A name=>S</CENTER></H3></FONT>\r\n",
      "<DIR><LI><FONT color=green size=\"-1\">S </FONT></LI></DIR>\r\n", ""}},
    {"a title inside a poem: green, no anchor, text loose in the contents",
     "<body><poem><title><p>P</p></title></poem></body>", "contents=1",
     {"<FONT color=green>" + DIR7 + "<FONT color=green><H3>" + J + "P</DIV>\r\n</H3></FONT>\r\n" + EDIR7 +
      "</FONT>\r\n", "P ", ""}},
    {"three nested sections", "<body><section><section><section><title>T</title></section></section></section></body>",
     "contents=1",
     {"<FONT color=navy align=center><H2><A name=CO1>T</A></H2></FONT>\r\n",
      "<UL><UL><UL><LI><FONT color=navy size=\"-1\"><A href=NAME.htm#CO1>T </A></FONT></LI>\r\n</UL>\r\n</UL>\r\n"
      "</UL>\r\n", ""}},

    // Inline and block elements
    {"a paragraph with an id: the anchor inside the paragraph",
     "<body><p id=\"p1\">x</p></body>", "", {J + "<A name=p1>x</A></DIV>\r\n", "", ""}},
    {"wide spacing: P instead of DIV at both ends",
     "<body><title><p>T</p></title><p>x</p></body>", "wide=1",
     {"<FONT color=navy align=center><H2><P ALIGN=\"center\">T</P>\r\n</H2></FONT>\r\n"
      "<P ALIGN=\"justify\">&nbsp;&nbsp;&nbsp;&nbsp;x</P>\r\n", "", ""}},
    {"an image with an id changes no anchor state",
     "<body><section id=\"s\"><image l:href=\"#i\" id=\"im\"/><p>x</p></section></body>", "",
     {"<A name=s><CENTER><IMG src=\"i\" name=im></CENTER>\r\n" + J + "x</DIV>\r\n</A>\r\n", "", ""}},
    {"image names: first character dropped, prefix from the main file, '/' made '_'",
     "<body><image l:href=\"pic.png\"/><image l:href=\"#a/b\\c.png\"/></body>", "binaries=1 prefix=1",
     {"<CENTER><IMG src=\"NAME_ic.png\"></CENTER>\r\n<CENTER><IMG src=\"NAME_a_b_c.png\"></CENTER>\r\n", "", ""}},
    {"an image with start and end tags: the IMG once, on the line of what follows",
     "<body><image l:href=\"#i\"></image></body>", "", {"<CENTER><IMG src=\"i\"></CENTER>", "", ""}},
    {"the first link attribute wins, under any prefix or none",
     "<body><p><a href=\"#x\" l:href=\"#y\">t</a><a xlink:href=\"#z\">u</a></p></body>", "",
     {J + "<A href=#x><FONT color=blue>t</FONT></A><A href=#z><FONT color=blue>u</FONT></A></DIV>\r\n", "", ""}},
    {"a link without a target writes only its end", "<body><p><a>x</a>y</p></body>", "",
     {J + "x</FONT></A>y</DIV>\r\n", "", ""}},
    {"header cells are cells; attributes in fixed order with their quotes",
     "<table><tr><th align=\"left\" rowspan='2' colspan=3>H</th><td>D</td></tr></table>", "",
     {TABLE + "<TR><TD colspan=3 rowspan='2' align=\"left\">H</TD>\r\n<TD>D</TD>\r\n</TR>\r\n</TABLE>\r\n", "", ""}},
    {"epigraph, citation and text author with ids",
     "<body><epigraph id=\"e\"><cite id=\"c\"><p>q</p><text-author id=\"t\">T</text-author></cite></epigraph></body>",
     "epigraph=1",
     {"<FONT color=blue><BLOCKQUOTE><DIR><A name=e><FONT color=navy size=\"+1\"><TT><A name=c>" + J + "q</DIV>\r\n"
      "<I><FONT color=maroon  face=\"Times New Roman\">&nbsp;&nbsp;&nbsp;&nbsp;<A name=t>T</A></FONT></I>\r\n"
      "</A></TT></FONT>\r\n</A></DIR></BLOCKQUOTE></FONT>\r\n", "", ""}},
    {"epigraph without indents", "<epigraph>x</epigraph>", "epigraph=0",
     {"<FONT color=blue><BLOCKQUOTE>x</BLOCKQUOTE></FONT>\r\n", "", ""}},
    {"poem with an id, stanza and verse",
     "<body><poem id=\"pm\"><stanza><v>a</v></stanza></poem></body>", "",
     {"<FONT color=green>" + DIR7 + "<A name=pm>a<BR>\r\n<P> </P>\r\n</A>" + EDIR7 + "</FONT>\r\n", "", ""}},
    {"empty line as start and end tags: twice", "<empty-line></empty-line><empty-line/>", "",
     {"<P> </P><P> </P>\r\n<P> </P>\r\n", "", ""}},
    {"a binary element writes nothing into the HTML", "<binary id=\"x.bin\">QUJD</binary>", "binaries=1",
     {"", "", ""}},
};
// clang-format on

TEST(TagTable, TranslatesEachFragmentAtEveryBlockSize) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.what);
        CaseOptions setup;
        std::string error;
        ASSERT_TRUE(parseOptions(row.options, setup, error)) << error;
        const Output output = translate(row.fragment, setup, 3000);
        for (const std::string& report : {compareBytes(row.expected.main, output.main, "main file"),
                                          compareBytes(row.expected.contents, output.contents, "contents"),
                                          compareBytes(row.expected.log, output.log, "log")})
            EXPECT_TRUE(report.empty()) << report;
        for (uint32_t blockSize : {1u, 2u, 7u})
            EXPECT_TRUE(translate(row.fragment, setup, blockSize) == output) << "block size " << blockSize;
    }
}

} // namespace
