// kelvane-batch-reference: prints the batch tables (filters with their keys, output formats)
// for the build, so the manual page and the shell completion are made from the tables the
// program itself parses with and cannot drift from them.
//   kelvane-batch-reference man FILE    sections FILTERS and FORMATS for help2man's --include
//   kelvane-batch-reference bash FILE   shell variables for the bash completion
//   kelvane-batch-reference fish FILE   the same for the fish completion

#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "batch/BatchConversion.h"
#include "batch/BatchFilters.h"

namespace {

using namespace kelvane;

// roff takes "-" as a hyphen; options and names are typed with the ASCII minus.
std::string Roff(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '-' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

std::string FormatName(int format) {
    return BatchExtension(static_cast<BatchFormat>(format));
}

std::string ManSections() {
    std::string out =
        "[FILTERS]\n"
        "Each \\fB\\-\\-filter\\fR adds one step to the chain, applied in the order given to the "
        "whole of each sound. Keys are case-blind; a key left out keeps its default.\n";
    for (int filter = 0; filter < kBatchFilterCount; ++filter) {
        out += ".TP\n\\fB" + Roff(BatchFilterShortName(filter)) + "\\fR";
        const auto keys = BatchFilterKeys(filter);
        for (std::size_t i = 0; i < keys.size(); ++i)
            out += (i == 0 ? ":\\fI" : ",\\fI") + Roff(keys[i].key) +
                   "\\fR=" + (keys[i].fractional ? "\\fIDECIMAL\\fR" : "\\fIN\\fR");
        out +=
            "\n" + std::string(BatchFilterName(filter)) + (keys.empty() ? "; no keys.\n" : ".\n");
    }
    out +=
        "[FORMATS]\n"
        "Input files are read by their contents and extension: wav, au, snd, aif, aiff, aifc, "
        "caf, w64, rf64, flac, ogg, oga, opus, mp1, mp2 and mp3; files of other extensions as raw "
        "samples with \\fB\\-\\-raw\\fR.\n"
        ".PP\nOutput formats (\\fB\\-f\\fR), each written with its name as the extension: ";
    for (int format = 0; format < kBatchFormatCount; ++format)
        out += (format == 0 ? "\\fB" : ", \\fB") + Roff(FormatName(format)) + "\\fR";
    out +=
        ".\n.PP\nSee \\fB\\-\\-subformat\\fR for the encodings within each format; a sound is "
        "converted to the rate, channels and bits the target needs first.\n";
    return out;
}

// Names separated by spaces, keys by commas (a key may hold a space), in single quotes: none
// holds a quote.
std::string BashVariables() {
    std::string out = "_kelvane_batch_formats='";
    for (int format = 0; format < kBatchFormatCount; ++format)
        out += (format == 0 ? "" : " ") + FormatName(format);
    out += "'\n_kelvane_batch_filters='";
    for (int filter = 0; filter < kBatchFilterCount; ++filter)
        out += (filter == 0 ? "" : " ") + std::string(BatchFilterShortName(filter));
    // -g: bash-completion sources this file inside a function.
    out += "'\ndeclare -gA _kelvane_batch_keys=(";
    for (int filter = 0; filter < kBatchFilterCount; ++filter) {
        out += (filter == 0 ? "[" : " [") + std::string(BatchFilterShortName(filter)) + "]='";
        const auto keys = BatchFilterKeys(filter);
        for (std::size_t i = 0; i < keys.size(); ++i)
            out += (i == 0 ? "" : ",") + std::string(keys[i].key);
        out += "'";
    }
    return out + ")\n";
}

// One list variable a table; a filter's keys in __kelvane_batch_keys_NAME (a key may hold a
// space, none a quote).
std::string FishVariables() {
    std::string out = "set -g __kelvane_batch_formats";
    for (int format = 0; format < kBatchFormatCount; ++format) out += " " + FormatName(format);
    out += "\nset -g __kelvane_batch_filters";
    for (int filter = 0; filter < kBatchFilterCount; ++filter)
        out += " " + std::string(BatchFilterShortName(filter));
    for (int filter = 0; filter < kBatchFilterCount; ++filter) {
        out += "\nset -g __kelvane_batch_keys_" + std::string(BatchFilterShortName(filter));
        for (const BatchFilterKey& key : BatchFilterKeys(filter))
            out += " '" + std::string(key.key) + "'";
    }
    return out + "\n";
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view mode = argc == 3 ? argv[1] : "";
    if (mode != "man" && mode != "bash" && mode != "fish") {
        std::fprintf(stderr, "usage: kelvane-batch-reference man|bash|fish FILE\n");
        return 2;
    }
    std::ofstream out(argv[2]);
    out << (mode == "man" ? ManSections() : mode == "bash" ? BashVariables() : FishVariables());
    out.close();
    if (!out) {
        std::fprintf(stderr, "kelvane-batch-reference: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
