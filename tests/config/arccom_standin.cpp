// A card-terminal library in place of "arccom.dll" for the tests: its entry "ProcessOw" keeps the
// request block it was handed in "arccom_request.bin" of the working folder and answers 0.
#include <cstdio>

extern "C" __attribute__((visibility("default"))) int ProcessOw(void* request)
{
    if (std::FILE* out = std::fopen("arccom_request.bin", "wb")) {
        std::fwrite(request, 1, 912, out);
        std::fclose(out);
    }
    return 0;
}
