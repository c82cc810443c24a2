#include "engine/Translator.h"

#include "engine/Base64.h"
#include "engine/RunHost.h"
#include "engine/TextHelpers.h"
#include "lang/Lang.h"
#include "textfile/TextFile.h"
#include "ui/Messages.h"

#include <filesystem>
#include <string_view>

namespace {

const char* const kMakerAddress = "https://papyrant.org";
const char* const kAnnotationHeading =
    "<FONT face=\"Arial Cyr, Arial\"><DIV align=\"center\"><FONT color=navy size=\"+2\"> Annotation </FONT></DIV>";

// The rows of the dispatch table, in the order they are tried.
enum class Row {
    FictionBook, Description, Author, NamePart, Contact, BookTitle, Annotation, P, Title, Subtitle, Table, Tr,
    Cell, Cite, TextAuthor, Epigraph, A, Section, Poem, Stanza, V, EmptyLine, Strong, Emphasis, Image, Binary,
    Unhandled
};

Row rowOf(std::string_view name) {
    switch (name.size()) {
    case 1:
        if (name == "p") return Row::P;
        if (name == "a") return Row::A;
        if (name == "v") return Row::V;
        break;
    case 2:
        if (name == "tr") return Row::Tr;
        if (name == "th" || name == "td") return Row::Cell;
        break;
    case 4:
        if (name == "cite") return Row::Cite;
        if (name == "poem") return Row::Poem;
        break;
    case 5:
        if (name == "title") return Row::Title;
        if (name == "table") return Row::Table;
        if (name == "email") return Row::Contact;
        if (name == "image") return Row::Image;
        break;
    case 6:
        if (name == "author") return Row::Author;
        if (name == "strong") return Row::Strong;
        if (name == "stanza") return Row::Stanza;
        if (name == "binary") return Row::Binary;
        break;
    case 7:
        if (name == "section") return Row::Section;
        break;
    case 8:
        if (name == "nickname") return Row::NamePart;
        if (name == "subtitle") return Row::Subtitle;
        if (name == "epigraph") return Row::Epigraph;
        if (name == "emphasis") return Row::Emphasis;
        break;
    case 9:
        if (name == "last-name") return Row::NamePart;
        if (name == "home-page") return Row::Contact;
        break;
    case 10:
        if (name == "first-name") return Row::NamePart;
        if (name == "book-title") return Row::BookTitle;
        if (name == "annotation") return Row::Annotation;
        if (name == "empty-line") return Row::EmptyLine;
        break;
    case 11:
        if (name == "FictionBook") return Row::FictionBook;
        if (name == "description") return Row::Description;
        if (name == "middle-name") return Row::NamePart;
        if (name == "text-author") return Row::TextAuthor;
        break;
    default:
        break;
    }
    return Row::Unhandled;
}

const std::string* findAttribute(const AttributeList& attributes, std::string_view name) {
    for (const Attribute& attribute : attributes)
        if (attribute.first == name) return &attribute.second;
    return nullptr;
}

// The link attribute: "l:href" under any namespace prefix ("xlink:href", ...) or a bare "href".
const std::string* findLinkAttribute(const AttributeList& attributes) {
    for (const Attribute& attribute : attributes) {
        const std::string& name = attribute.first;
        if (name == "href" || (name.size() > 5 && name.compare(name.size() - 5, 5, ":href") == 0))
            return &attribute.second;
    }
    return nullptr;
}

std::string unquoted(const std::string& value) { return DELFIRSTEND(value, "\""); }

std::string repeated(std::string_view text, int32_t times) {
    std::string result;
    for (int32_t i = 0; i < times; ++i) result += text;
    return result;
}

} // namespace

void WriteGuard::write(TextFile& file, const std::string& text) {
    if (failed) return;
    if (!file.Write(text)) failed = true;
}

struct Translator::Call {
    TextFile& log;
    TextFile& main;
    TextFile& contents;
    TagKind kind;
    const std::string& name;
    const AttributeList& attributes;
    const std::string& pending;
    const ElementStack& stack;
    const std::string& outputFolder;
    RunHost& app;
    bool fileWaiting;        // F2 as it was at the start of the call
    bool noLineBreak = false;
    bool insertion = false;
    std::string anchorName;

    bool opening() const { return kind == TagKind::Opening; }
    // Only a closing tag has an entry of its own on the stack; an empty-element tag has no saved
    // anchor, so it never closes its parent's anchor.
    const std::string& savedAnchor() const {
        static const std::string none;
        return kind == TagKind::Closing && !stack.empty() ? stack.top().savedAnchor : none;
    }
    bool inside(TrackedElement element) const { return stack.inside(element); }
};

Translator::Translator(RunState& state, ConversionOptions& options, WriteGuard& guard, TranslatorSetup setup)
    : m_state(state), m_options(options), m_guard(guard), m_setup(std::move(setup)) {}

Translator::~Translator() = default;

void Translator::openAnchorById(Call& call) {
    const std::string* id = findAttribute(call.attributes, "id");
    if (!id) return;
    call.anchorName = unquoted(*id);
    m_main += "<A name=" + call.anchorName + ">";
    m_state.CSTACK = call.anchorName;
}

void Translator::openNumberedAnchor(Call& call) {
    call.anchorName = "CO" + std::to_string(m_state.NCOUNT++);
    m_main += "<A name=" + call.anchorName + ">";
    m_state.CSTACK = call.anchorName;
}

void Translator::closeAnchor(Call& call, bool alsoContents) {
    if (call.savedAnchor().empty()) return;
    m_main += "</A>";
    if (alsoContents) m_contents += "</A>";
}

std::string Translator::contentsLink(const std::string& anchorName) const {
    if (anchorName.empty()) return {};
    std::string link = "<A href=" + m_setup.nameFile + m_setup.mainExtension + "#" + anchorName;
    if (m_options.nContentsLayout != 1) link += " target=\"window-1\"";
    return link + ">";
}

// The file name of a picture: the optional prefix, then the reference with every '/' and '\' (and
// NUL) made '_', so a name can never leave the output folder.
std::string Translator::pictureName(const std::string& reference, const TextFile& main) const {
    std::string name;
    if (m_options.lPrefixFileName)
        name = (m_options.lOnlyBinaries ? m_setup.nameFile : main.oName().FileName()) + "_";
    name += reference;
    for (char& c : name)
        if (c == '/' || c == '\\' || c == '\0') c = '_';
    return name;
}

bool Translator::isReserved(const std::string& path) const {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path candidate = fs::weakly_canonical(fs::absolute(path, error), error);
    for (const std::string& reserved : m_setup.reservedPaths) {
        std::error_code ignored;
        if (fs::weakly_canonical(fs::absolute(reserved, ignored), ignored) == candidate) return true;
        if (fs::exists(path, ignored) && fs::exists(reserved, ignored) && fs::equivalent(path, reserved, ignored))
            return true;
    }
    return false;
}

void Translator::binaryOpening(Call& call) {
    const std::string* id = findAttribute(call.attributes, "id");
    if (!id) return;
    const std::string name = pictureName(unquoted(*id), call.main);
    const std::string path = call.outputFolder + name;
    // A name that leaves no file name, or one that would replace the book or a file of this run,
    // gets no file and no question.
    if (name.empty() || name == "." || name == ".." || isReserved(path)) return;
    if (!m_options.lConvertBinaries && !ASkYN(GetLangToken("400025", *id), 1)) return;
    // A link at the picture's place (unpacked beside the book from the same archive, say) would lead
    // the write out of the output folder: the picture is refused like a name the file system refuses.
    std::error_code error;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) {
        ErrMsg(GetLangToken("000023", path));
        return;
    }
    m_binaryFile = std::make_unique<TextFile>();
    if (m_options.lOverwrite) m_binaryFile->lRewrite(true);
    m_binaryFile->Create(path);
    if (!m_binaryFile->lError()) {
        m_state.F2 = true;
        call.app.setStageCaption(*id);
    }
}

void Translator::binaryClosing(Call& call, bool fileWaiting) {
    if (!fileWaiting || !m_binaryFile) return;
    call.app.setProgressRange(RunHost::Progress::Stage, static_cast<uint32_t>(call.pending.size()));
    call.app.setProgressPosition(RunHost::Progress::Stage, 0);
    if (!m_guard.failed && !DECODEBASE64(call.pending, *m_binaryFile, call.app)) m_guard.failed = true;
    m_binaryFile->Close();
    m_binaryFile.reset();
    m_state.F2 = false;
}

void Translator::dispatch(Call& call) {
    const bool layout1 = m_options.nContentsLayout == 1;
    const bool opening = call.opening();
    const bool pops = call.kind == TagKind::Closing; // an empty-element tag pushed nothing, so pops nothing
    auto push = [&](std::vector<std::string>& list) { list.push_back(call.name); };
    auto pop = [&](std::vector<std::string>& list) {
        if (pops && !list.empty()) list.pop_back();
    };
    const bool inTitleInfo = call.inside(TrackedElement::TitleInfo);
    const bool inBody = call.inside(TrackedElement::Body);

    const Row row = rowOf(call.name);
    switch (row) {
    case Row::FictionBook:
        if (opening) {
            m_main += "<HTML>";
            call.insertion = true; // a book without a description gets its contents right after "<HTML>"
        } else {
            m_main += "</BODY>\r\n</HTML>";
        }
        if (!layout1) m_contents = m_main;
        return;
    case Row::Description:
        if (opening) {
            m_main += "<HEAD>\r\n<META HTTP-EQUIV=\"Content-type\" CONTENT=\"text/html; charset=";
            m_main += m_state.hasCharset ? m_state._CHARSET : std::string("utf-8");
            m_main += "\">\r\n<META name=\"autor\" content=\"Created by Papyrant, =Orvane= Software Development, ";
            m_main += kMakerAddress;
            m_main += "\">\r\n</HEAD>\r\n";
            if (m_options.lBackground) m_main += "<BODY BACKGROUND=\"Paper.jpg\">\r\n";
            if (!layout1) m_contents = m_main;
        } else {
            m_main += "<HR>";
            call.insertion = true;
        }
        return;
    case Row::Author:
        if (!inTitleInfo) break;
        m_main += opening ? "<FONT color=navy><DIV align=center><H2>" : "</H2></DIV></FONT>";
        return;
    case Row::NamePart:
        if (!inTitleInfo) break;
        if (opening) {
            m_main += "<U>";
            push(m_state.CO);
        } else {
            m_main += " </U>";
            call.noLineBreak = true;
            pop(m_state.CO);
        }
        return;
    case Row::Contact:
        if (!inTitleInfo) break;
        if (opening) {
            m_main += "<H3><U>";
            push(m_state.CO);
        } else {
            m_main += " </U></H3>";
            pop(m_state.CO);
        }
        return;
    case Row::BookTitle:
        if (!inTitleInfo) break;
        if (opening) {
            m_main += "<FONT color=navy><DIV align=center><H2>";
            if (m_options.lContents) openNumberedAnchor(call);
            m_contents = "<FONT color=navy><DIV align=left><H5>" + contentsLink(call.anchorName);
            push(m_state.CO);
            push(m_state.OCO);
        } else {
            closeAnchor(call, true);
            m_main += "</H2></DIV></FONT>";
            m_contents += "</H5></DIV></FONT>";
            pop(m_state.CO);
            pop(m_state.OCO);
        }
        return;
    case Row::Annotation:
        if (opening) {
            m_main += kAnnotationHeading;
            m_main += "\r\n<I><P align=\"justify\">&nbsp;&nbsp;&nbsp;&nbsp;";
            openAnchorById(call);
            // An "id" attribute, even an empty one, takes the place of the numbered anchor.
            if (!findAttribute(call.attributes, "id") && m_options.lContents) openNumberedAnchor(call);
            m_contents = "<LI><FONT color=navy size=\"-1\">" + contentsLink(call.anchorName) + " Annotation " +
                         (call.anchorName.empty() ? "" : "</A>") + "</FONT></LI>";
            push(m_state.CO);
        } else {
            closeAnchor(call);
            m_main += "</P></I>";
            pop(m_state.CO);
        }
        return;
    case Row::P:
        if (!inBody) break;
        if (opening) {
            const bool centred = (call.inside(TrackedElement::Title) && !call.inside(TrackedElement::Poem)) ||
                                 call.inside(TrackedElement::Subtitle);
            m_main += m_options.lWideSpacing ? "<P ALIGN=" : "<DIV ALIGN=";
            m_main += centred ? "\"center\">" : "\"justify\">&nbsp;&nbsp;&nbsp;&nbsp;";
            openAnchorById(call);
            push(m_state.CO);
        } else {
            closeAnchor(call);
            m_main += m_options.lWideSpacing ? "</P>" : "</DIV>";
            pop(m_state.CO);
        }
        return;
    case Row::Title:
        if (!inBody) break;
        if (call.inside(TrackedElement::Poem)) {
            m_main += opening ? "<FONT color=green><H3>" : "</H3></FONT>";
        } else if (opening) {
            m_main += "<FONT color=navy align=center><H2>";
            if (m_options.lContents) openNumberedAnchor(call);
            m_contents = "<LI><FONT color=navy size=\"-1\">" + contentsLink(call.anchorName);
        } else {
            closeAnchor(call, true);
            m_main += "</H2></FONT>";
            m_contents += "</FONT></LI>";
        }
        if (opening) {
            push(m_state.CO);
            push(m_state.OCO);
        } else {
            pop(m_state.CO);
            pop(m_state.OCO);
        }
        return;
    case Row::Subtitle:
        if (!inBody) break;
        if (opening) {
            m_main += "<FONT color=green><H3><CENTER>";
            openAnchorById(call);
            // An "id" attribute, even an empty one, takes the place of the numbered anchor.
            if (!findAttribute(call.attributes, "id") && m_options.lContents) openNumberedAnchor(call);
            m_contents = "<DIR><LI><FONT color=green size=\"-1\">" + contentsLink(call.anchorName);
            push(m_state.CO);
            push(m_state.OCO);
        } else {
            closeAnchor(call, true);
            m_main += "</CENTER></H3></FONT>";
            m_contents += "</FONT></LI></DIR>";
            pop(m_state.CO);
            pop(m_state.OCO);
        }
        return;
    case Row::Table:
        if (opening) {
            m_main += "<TABLE border=\"3\" bordercolor=\"#000000\">";
            push(m_state.CO);
        } else {
            m_main += "</TABLE>";
            pop(m_state.CO);
        }
        return;
    case Row::Tr:
        m_main += opening ? "<TR>" : "</TR>";
        return;
    case Row::Cell:
        if (opening) {
            m_main += "<TD";
            for (const char* attribute : {"colspan", "rowspan", "align"}) {
                if (const std::string* value = findAttribute(call.attributes, attribute)) {
                    m_main += ' ';
                    m_main += attribute;
                    m_main += '=';
                    m_main += *value;
                }
            }
            m_main += ">";
        } else {
            m_main += "</TD>";
        }
        return;
    case Row::Cite:
    case Row::TextAuthor:
    case Row::Epigraph:
    case Row::Poem: {
        const int32_t indents = std::max<int32_t>(0, m_options.nEpigraphIndents);
        if (opening) {
            if (row == Row::Cite) m_main += "<FONT color=navy size=\"+1\"><TT>";
            if (row == Row::TextAuthor)
                m_main += "<I><FONT color=maroon  face=\"Times New Roman\">&nbsp;&nbsp;&nbsp;&nbsp;";
            if (row == Row::Epigraph) m_main += "<FONT color=blue><BLOCKQUOTE>" + repeated("<DIR>", indents);
            if (row == Row::Poem) m_main += "<FONT color=green><DIR><DIR><DIR><DIR><DIR><DIR><DIR>";
            openAnchorById(call);
            push(m_state.CO);
        } else {
            closeAnchor(call);
            if (row == Row::Cite) m_main += "</TT></FONT>";
            if (row == Row::TextAuthor) m_main += "</FONT></I>";
            if (row == Row::Epigraph) m_main += repeated("</DIR>", indents) + "</BLOCKQUOTE></FONT>";
            if (row == Row::Poem) m_main += "</DIR></DIR></DIR></DIR></DIR></DIR></DIR></FONT>";
            pop(m_state.CO);
        }
        return;
    }
    case Row::A:
        if (opening) {
            if (const std::string* href = findLinkAttribute(call.attributes))
                m_main += "<A href=" + unquoted(*href) + "><FONT color=blue>";
        } else {
            m_main += "</FONT></A>";
            call.noLineBreak = true;
        }
        return;
    case Row::Section:
        if (opening) {
            openAnchorById(call);
            m_contents = "<UL>";
        } else {
            closeAnchor(call);
            m_contents = "</UL>";
        }
        return;
    case Row::Stanza:
        if (!opening) m_main += "<P> </P>";
        return;
    case Row::V:
        if (opening) {
            push(m_state.CO);
        } else {
            m_main += "<BR>";
            pop(m_state.CO);
        }
        return;
    case Row::EmptyLine:
        m_main += "<P> </P>";
        return;
    case Row::Strong:
    case Row::Emphasis:
        if (!inBody) break;
        if (opening) {
            m_main += row == Row::Strong ? "<B>" : "<I>";
        } else {
            m_main += row == Row::Strong ? "</B>" : "</I>";
            call.noLineBreak = true;
        }
        return;
    case Row::Image:
        // Without a link there is no picture to show: the tag (also an image's own end tag) writes nothing.
        if (const std::string* href = findLinkAttribute(call.attributes)) {
            const std::string reference = unquoted(*href);
            m_main += "<CENTER><IMG src=\"" + pictureName(reference.empty() ? reference : reference.substr(1), call.main) + "\"";
            if (const std::string* id = findAttribute(call.attributes, "id")) m_main += " name=" + unquoted(*id);
            m_main += "></CENTER>";
        }
        return;
    case Row::Binary:
        if (opening)
            binaryOpening(call);
        else
            binaryClosing(call, call.fileWaiting);
        return;
    case Row::Unhandled:
        break;
    }
    // Unhandled element (also a known element outside the context its rule needs).
    if (m_options.lLog && (call.kind == TagKind::Opening || call.kind == TagKind::Empty))
        m_guard.write(call.log, call.name + "\r\n");
}

bool Translator::ANALIZ(TextFile& log, TextFile& main, TextFile& contents, const std::string& /*tagText*/,
                        TagKind kind, const std::string& name, const AttributeList& attributes,
                        uint32_t /*tagStart*/, uint32_t /*tagEnd*/, const std::string& pending,
                        const ElementStack& stack, const std::string& outputFolder, RunHost& app) {
    if (m_options.lOnlyBinaries && name != "binary") return true;
    // The text of this call is routed by the lists as they were when the call began.
    const bool toMain = !m_state.CO.empty();
    const bool toContents = !m_state.OCO.empty();
    m_main.clear();
    m_contents.clear();
    Call call{log, main, contents, kind, name, attributes, pending, stack, outputFolder, app, m_state.F2, false, false, {}};

    if (kind == TagKind::ProcessingInstruction) {
        if (const std::string* encoding = findAttribute(attributes, "encoding")) {
            m_state._CHARSET = unquoted(*encoding);
            m_state.hasCharset = true;
        }
    } else {
        dispatch(call);
    }

    if (!m_options.lOnlyBinaries) {
        if (toMain) m_guard.write(main, pending);
        if (toContents && m_options.lContents) m_guard.write(contents, pending + " ");
        const bool lineBreak = (kind == TagKind::Closing || kind == TagKind::Empty) && !call.noLineBreak;
        if (lineBreak) m_main += "\r\n";
        m_guard.write(main, m_main);
        if (m_options.lContents) {
            if (lineBreak) m_contents += "\r\n";
            m_guard.write(contents, m_contents);
        }
    }
    if (call.insertion && m_options.nContentsLayout == 1) m_state.NINSCONT = main.nCur();
    return true;
}
