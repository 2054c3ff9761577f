// Opera hotlists: any bytes are read; the tree read is written and read back, and
// must come back the same, descriptions and their line breaks included.
#include "FuzzSupport.h"
#include "exchange/Opera.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TCatalog first;
    ReadBytes(BytesOf(data, size),
              [&first](TLineReader &lines) { ReadOperaLines(first, lines); });
    CheckRoundTrip(first, WriteOperaFile, ReadOperaLines);
    return 0;
}
