// Helpers shared by the kaSound source files: slot and buffer lookup that
// never leaves the tables, the checks every loader starts with, error
// reports, program-relative paths, format records, the RIFF reader and the
// pack scanner (both on stdio streams, so that they can be fed from memory
// as well as from files).
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "platform/AudioDevice.h"
#include "sound/kaSound.h"

namespace kasound {

// True for a slot number inside the table whose slot holds a sound.
bool SlotInUse(int slot);
// The mix buffer `mix` of a slot in use, or nullptr when there is none
// (slot outside 0..69, free slot, mix outside 0..ListMix-1, or not created).
plat::SoundBuffer* Buffer(int slot, int mix);
// Lowest free slot, or -1.
int FreeSlot();

// kaDraw::Error with the framework's function name.
void Report(const char* function, const char* message, long code = 0);

// The checks every loader makes before it reads anything, in this order:
// the device is open; |mix| is at most kMaxMix (skipped when `mix` is
// empty); outside a rebuild a free slot is claimed into kaSound::ListNo and
// a name over 30 bytes is refused with `tooLong`; during a rebuild ListNo,
// set by the caller, must be a slot number. A null `name` becomes "".
// Failures are reported under `function`; false means the load returns -1.
bool BeginLoad(const char* function, const char*& name, std::optional<int> mix, const char* tooLong);

// Outside a rebuild, keeps the name a slot was loaded under (a rebuild
// reloads by that very name).
void KeepName(int slot, const char* name);

// Program directory + name (the directory ends with a separator).
std::string ProgramPath(const char* name);

// ASCII upper case, other bytes untouched (names in packs are compared so).
std::string UpperAscii(const char* text);

// The device format of a format record of `headSize` bytes. Extensible
// records that carry plain PCM are read as PCM; anything else keeps its tag
// and is refused when the buffer is created.
plat::PcmFormat ToPcm(const WAVEFORMATEX* head, unsigned long headSize);

// Creates the mix buffers of slot kaSound::ListNo from a format record and
// samples and fills the slot (|Mix| buffers, effects, pitch/volume/pan, or
// the stored values while rebuilding). On failure reports under `function`,
// releases what was created and returns false.
bool FillSlot(const char* function, const WAVEFORMATEX* head, unsigned long headSize, const uint8_t* data,
              unsigned long size, int Mix);

// Re-creates the buffers of every slot in use from its file, pack entry or
// stream (ReloadObject and SelectFormat), keeping numbers, names and the
// stored volume, pitch and pan.
void RebuildTable();

// Releases every mix buffer of a slot.
void ReleaseSlotBuffers(int slot);

// Takes a newly created buffer as mix buffer `m` of `slot`. A first load
// records the buffer's own rate, full volume and centre pan; a rebuild gives
// the buffer the volume, pitch and pan the table holds.
void SetUpMixBuffer(int slot, int m, plat::SoundBuffer* buffer);

// Writes `size` bytes into a buffer at `offset` through Lock/Unlock (wrapping
// into the second region when the range passes the end). When `data` is
// nullptr the range is filled with `fill`.
bool WriteBuffer(plat::SoundBuffer* buffer, uint32_t offset, const uint8_t* data, uint32_t size, uint8_t fill = 0);

// The RIFF/WAVE walk of SearchFile on an open stream. Chunk sizes are
// checked against the stream's length before anything is allocated.
int ReadWave(FILE* file, WAVEFORMATEX** head, unsigned long* headSize, uint8_t** data, unsigned long* size);

// One entry of a sound pack.
struct PackEntry {
    uint32_t size = 0;       // sample bytes
    uint32_t headSize = 0;   // format record bytes
    long headOffset = 0;     // stream offset of the format record
};
// Scans a pack stream from its start for the entry named `upperName`.
// False when it is missing or the pack is malformed before it; a found entry
// always lies wholly inside the stream.
bool FindPackEntry(FILE* file, const std::string& upperName, PackEntry* entry);
// Reads the format record of a found entry as an 18-byte-or-longer record
// (malloc'ed; a 16-byte record gets cbSize 0). False on a short read.
bool ReadPackHead(FILE* file, const PackEntry& entry, WAVEFORMATEX** head, unsigned long* headSize);
// Opens the pack at `path` (empty: none chosen), finds the entry `name` and
// reads its format record, leaving the stream at the entry's first sample.
// On failure reports under `function`, closes what it opened and returns
// nullptr.
FILE* OpenPackEntry(const char* function, const char* path, const char* name, PackEntry* entry, WAVEFORMATEX** head,
                    unsigned long* headSize);

}  // namespace kasound
