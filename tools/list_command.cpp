#include "tools/list_command.h"

#include <ostream>

#include "maintenance/codepage.h"
#include "platform/cp1251.h"
#include "platform/files.h"
#include "storage/catalog.h"
#include "tools/tool_support.h"

int ListCommand(const std::vector<std::string>& args, ToolContext& io) {
    ToolOptions options;
    if (!ParseToolOptions(args, {{"--json", false}}, options, io.err)) return kExitUsage;
    if (!NoOperands("list", options, io.err)) return kExitUsage;
    const CatalogRecord catalog = ListDictionaries(io.programFolder);
    const bool json = options.Has("--json");
    if (json) io.out << "[";
    for (int i = 0; i < catalog.Count; ++i) {
        const CatalogEntry& slot = catalog.Slots[i];
        if (json) {
            io.out << (i ? "," : "") << kToolLineEnd << "  {\"index\": " << i
                   << ", \"folder\": " << JsonText(slot.Folder) << ", \"name\": " << JsonText(slot.DisplayName)
                   << "}";
        } else {
            io.out << i << '\t' << Cp1251ToUtf8(slot.Folder) << '\t' << Cp1251ToUtf8(slot.DisplayName)
                   << kToolLineEnd;
        }
    }
    if (json) io.out << (catalog.Count ? kToolLineEnd : "") << "]" << kToolLineEnd;
    io.out.flush();
    for (const UnnamableFolder& folder : UnlistedDictionaries(io.programFolder)) {
        // The name as UTF-8, each character the code page lacks in its place.
        std::string name, first;
        size_t next = 0;
        for (unsigned char byte : folder.name)
            AppendUtf8(name, byte == kUnheldByte && next < folder.unheld.size() ? folder.unheld[next++]
                                                                                 : Cp1251ToUnicode(byte));
        AppendUtf8(first, folder.unheld[0]);
        Complain(io.err) << "the dictionary in the folder '" << name << "' is not listed: "
                         << CodePointName(folder.unheld[0]) << " (" << first << ") has no place in code page 1251"
                         << kToolLineEnd;
    }
    return kExitOk;
}
