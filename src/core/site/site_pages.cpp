#include "site/site_pages.h"

#include "site/site_text.h"

#include <algorithm>
#include <map>
#include <memory>

namespace parvex::site {

namespace {

std::string with_commas(std::uint64_t n) {
    std::string digits = std::to_string(n);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

const char* const kLists[][3] = {{"T", "Tokens", "tokens.html"},
                                 {"R", "Routines", "routines.html"},
                                 {"L", "Literals", "literals.html"},
                                 {"N", "Numbers", "numbers.html"}};

std::string nav_links(const std::string& root) {
    std::string out = "<nav class=\"lists\" aria-label=\"Project lists\">";
    for (const auto& l : kLists)
        out += "<a href=\"" + root + l[2] + "\">" + l[1] + "</a>";
    return out + "</nav>";
}

} // namespace

std::string Page_Html(const PageFrame& f, const std::string& body) {
    std::string out;
    out.reserve(body.size() + 2048);
    // The pages load and run only the site's own files, and no inline script or style: even
    // text that slipped into a page as markup could run nothing.
    out += "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
           "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
           "script-src 'self'; style-src 'self'; img-src 'self'; base-uri 'none'; "
           "form-action 'none'\">"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
           "<meta name=\"color-scheme\" content=\"light dark\">"
           "<meta name=\"referrer\" content=\"no-referrer\"><title>";
    out += Html_Escape(f.title);
    if (f.title != f.project)
        out += " \xE2\x80\x94 " + Html_Escape(f.project);
    out += "</title><link rel=\"icon\" href=\"" + f.root +
           "px/icon.svg\"><link rel=\"stylesheet\" href=\"" + f.root + "px/site.css\"></head>\n";
    out += "<body data-page=\"" + f.kind + "\" data-root=\"" + f.root + "\"";
    for (const auto& [name, value] : f.data)
        out += " data-" + name + "=\"" + Html_Escape(value) + "\"";
    out += ">\n<header class=\"bar\"><a class=\"home\" href=\"" + f.root + "index.html\">" +
           Html_Escape(f.project) + "</a>";
    out += "<div class=\"find\"><input id=\"q\" type=\"search\" placeholder=\"Search tokens, "
           "routines, files\" aria-label=\"Search tokens, routines and files (/)\" "
           "autocomplete=\"off\" spellcheck=\"false\" title=\"Search (/)\">"
           "<div id=\"results\" role=\"listbox\" hidden></div></div>";
    out += nav_links(f.root) + "</header>\n";
    out += body;
    out += "\n<aside id=\"panel\" aria-label=\"Occurrences\" hidden></aside>\n"
           "<script src=\"" +
           f.root + "px/site.js\"></script><script src=\"" + f.root +
           "d/config.js\"></script>\n</body></html>\n";
    return out;
}

std::string Source_Body(const std::string& project, const std::string& path,
                        const std::string& text_note) {
    std::string crumbs;
    std::size_t from = 0;
    for (;;) {
        const std::size_t slash = path.find('/', from);
        const std::string part = path.substr(from, slash - from);
        if (slash == std::string::npos) {
            crumbs += "<b>" + Html_Escape(part) + "</b>";
            break;
        }
        crumbs += "<span>" + Html_Escape(part) + "</span>/";
        from = slash + 1;
    }
    (void)project;
    return "<main class=\"source\"><div class=\"head\"><h1 class=\"crumbs\">" + crumbs +
           "</h1><p class=\"note\"><span id=\"stats\"></span> " + Html_Escape(text_note) +
           "</p></div><div class=\"layout\"><details id=\"outline\" class=\"outline\" open hidden>"
           "<summary>Routines</summary><ol></ol></details>"
           "<div id=\"code\" class=\"code\" tabindex=\"-1\"><p class=\"wait\">Loading \xE2\x80\xA6"
           "</p><noscript><p>This page shows its text with JavaScript.</p></noscript></div>"
           "</div></main>";
}

namespace {

struct Folder {
    std::map<std::string, std::unique_ptr<Folder>> folders;
    std::vector<const TreeFile*> files;
    std::uint32_t count = 0;
    std::uint64_t lines = 0, tokens = 0;
};

void tree_html(const Folder& folder, std::string& out, int depth) {
    out += "<ul>";
    for (const auto& [name, sub] : folder.folders) {
        out += "<li class=\"dir\"><details";
        if (depth == 0)
            out += " open";
        out += "><summary><span class=\"name\">" + Html_Escape(name) +
               "/</span><span class=\"n\">" + with_commas(sub->count) +
               " files</span><span class=\"n\">" + with_commas(sub->lines) +
               "</span><span class=\"n\">" + with_commas(sub->tokens) + "</span></summary>";
        tree_html(*sub, out, depth + 1);
        out += "</details></li>";
    }
    for (const TreeFile* f : folder.files) {
        const std::size_t slash = f->path.rfind('/');
        out += "<li><a class=\"name\" href=\"" + f->url + "\">" +
               Html_Escape(f->path.substr(slash == std::string::npos ? 0 : slash + 1)) +
               "</a><span class=\"n\"></span><span class=\"n\">" + with_commas(f->lines) +
               "</span><span class=\"n\">" + with_commas(f->tokens) + "</span></li>";
    }
    out += "</ul>";
}

} // namespace

std::string Index_Body(const std::vector<TreeFile>& files, const ProjectTotals& t,
                       const std::string& text_note) {
    Folder root;
    for (const TreeFile& f : files) {
        Folder* at = &root;
        at->count++;
        at->lines += f.lines;
        at->tokens += f.tokens;
        std::size_t from = 0;
        for (std::size_t slash; (slash = f.path.find('/', from)) != std::string::npos;
             from = slash + 1) {
            auto& sub = at->folders[f.path.substr(from, slash - from)];
            if (!sub)
                sub = std::make_unique<Folder>();
            at = sub.get();
            at->count++;
            at->lines += f.lines;
            at->tokens += f.tokens;
        }
        at->files.push_back(&f);
    }
    std::string out = "<main class=\"index\"><h1>Cross-reference</h1><dl class=\"totals\">";
    auto total = [&](const char* name, std::uint64_t n, const char* link) {
        out += "<div><dt>";
        out += link ? std::string("<a href=\"") + link + "\">" + name + "</a>" : name;
        out += "</dt><dd>" + with_commas(n) + "</dd></div>";
    };
    total("Files", t.files, nullptr);
    total("Lines", t.lines, nullptr);
    total("Token occurrences", t.tokens, nullptr);
    total("Distinct tokens", t.distinct_tokens, "tokens.html");
    total("Routines", t.routines, "routines.html");
    total("Literals", t.literals, "literals.html");
    total("Numbers", t.numbers, "numbers.html");
    if (t.skipped)
        total("Files skipped", t.skipped, nullptr);
    out += "</dl><p class=\"note\">Pages show the text " + Html_Escape(text_note) +
           ". Click any token, literal or number to see where else the project uses it.</p>";
    out += "<section class=\"tree\"><div class=\"cols\"><span>Name</span><span></span>"
           "<span>Lines</span><span>Tokens</span></div>";
    tree_html(root, out, 0);
    out += "</section></main>";
    return out;
}

std::string List_Body(char kind) {
    std::string title = List_Title(kind);
    return "<main class=\"list\" data-list=\"" + std::string(1, kind) + "\"><h1>" + title +
           "</h1><div class=\"tools\"><input id=\"filter\" type=\"search\" "
           "placeholder=\"Filter\" aria-label=\"Filter the list\" autocomplete=\"off\" "
           "spellcheck=\"false\"><span id=\"count\" class=\"note\"></span></div>"
           "<table class=\"items\"><thead></thead><tbody></tbody></table>"
           "<p class=\"more\"><button id=\"more\" type=\"button\" hidden>More</button></p>"
           "<noscript><p>This list is shown with JavaScript.</p></noscript></main>";
}

const char* List_Title(char kind) {
    for (const auto& l : kLists)
        if (l[0][0] == kind)
            return l[1];
    return "";
}

const char* List_File(char kind) {
    for (const auto& l : kLists)
        if (l[0][0] == kind)
            return l[2];
    return "";
}

} // namespace parvex::site
