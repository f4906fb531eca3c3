// Any bytes a share may hand the program as its list: read, written back and read again, the list
// is the same list in the same encoding, and a file the program wrote itself comes back byte for
// byte. Under the sanitizers, so that no byte sequence (a mark, half a UTF-16 unit, a lone
// surrogate, bytes that are no UTF-8) reads or writes out of bounds.
#include "app/ListFile.h"

#include "tests/common/Latin1.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<ListFile> read = ParseListFile({true, std::string(reinterpret_cast<const char*>(data), size)}, Latin1);
    if (!read)
        return 0;
    const std::string written = ListFileBytes(read->Lines, read->Frame, Latin1);
    const std::optional<ListFile> again = ParseListFile({true, written}, Latin1);
    if (!again || !(again->Lines == read->Lines) || again->Frame.Encoding != read->Frame.Encoding ||
        again->Frame.Tail != read->Frame.Tail || again->Frame.LeftOver != read->Frame.LeftOver || ListFileBytes(again->Lines, again->Frame, Latin1) != written)
        std::abort();
    return 0;
}
