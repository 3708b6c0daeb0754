#include "tags/CoverImageBuffer.h"

namespace tagReader {

void CoverImageBuffer::Release() {
    if (stream) {
        stream->Release();
        stream = nullptr;
    }
    std::vector<unsigned char>().swap(bytes);
}

}  // namespace tagReader
