// Rebuilding sprites that came from a bitmap pack. Pack files cannot be read
// yet, so no sprite carries PackData and a reload never gets here; should one
// do so, the slot is reported as unreadable like any other failed load.
#include "draw/kaDraw.h"

int kaDraw::SwapPack(const char* FileName, int ObjDD, int Memory) {
    (void)FileName;
    (void)ObjDD;
    (void)Memory;
    return Error("kaDraw::SwapPack", "BMPファイルを読み込めません", 0);
}
