// libFuzzer target: any bytes as the version server's answer (ParseVersionAnswer, then the check
// that only web addresses are opened). Neither may crash; what they make of the bytes does not
// matter. Seeds: fuzz/corpus/version.

#include "app/VersionCheck.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray answer(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const kov::app::VersionAnswer v = kov::app::ParseVersionAnswer(answer);
    (void)kov::app::IsWebAddress(QString::fromStdString(v.address));
    return 0;
}
