// The one part of reading a file that is the same on every system.
#include <algorithm>

#include "files/rom_file.h"

namespace clockvane {

RawFile splitFileBytes(ByteView file)
{
    const ByteView image = file.first(std::min(file.size(), kImageReadLimit));
    const ByteView beyond = file.subspan(image.size());
    return RawFile{Bytes(image.begin(), image.end()), Bytes(beyond.begin(), beyond.end())};
}

}  // namespace clockvane
