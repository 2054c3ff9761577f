// Netscape bookmark files: any bytes are read; the tree read is written and read
// back, and must come back the same.
#include "FuzzSupport.h"
#include "exchange/Netscape.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TCatalog first;
    ReadBytes(BytesOf(data, size),
              [&first](TLineReader &lines) { ReadFirefoxLines(first, lines); });
    CheckRoundTrip(first, WriteFirefoxFile, ReadFirefoxLines);
    return 0;
}
