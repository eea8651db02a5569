// The room list and the quotation list (kovroom.txt, kovtex.txt): read, checked, written again.
// What one reading writes must read back as the same list.

#include "model/QuotationList.h"
#include "model/RoomList.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto rooms = kov::model::ParseRoomList(bytes);
    for (const auto& room : rooms) (void)kov::model::CheckRoomName(room);
    const auto again = kov::model::ParseRoomList(kov::model::FormatRoomList(rooms));
    // Names and spacings with commas or breaks cannot come out of a reading, so the count holds.
    if (again.size() != rooms.size()) std::abort();
    const auto quotations = kov::model::ParseQuotations(bytes);
    (void)kov::model::FormatQuotations(quotations);
    return 0;
}
