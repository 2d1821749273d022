// Item-id lists: the shell's compact path of a namespace item. A list is a
// run of items, each a little-endian 16-bit byte count that counts itself
// followed by the item's own bytes, closed by two zero bytes; the empty
// list (the terminator alone) is the desktop. Lists are allocated with
// SHAlloc and given back with SHFree by their one owner.
//
// The items of this namespace hold a kind byte and a UTF-8 text: the name
// of a folder or file entry, or the mount path of a volume.
#pragma once

#include <optional>

#include "platform/base/types.h"

namespace win {

using PItemIDList = Byte*;
using PCItemIDList = const Byte*;

// Zero-filled; nullptr when the size is 0 or memory runs out.
PItemIDList SHAlloc(size_t ASize);
void SHFree(void* ABlock);

// The item after AItem (the terminator after the last one).
PCItemIDList ILGetNext(PCItemIDList AItem);
PItemIDList ILGetNext(PItemIDList AItem);
bool ILIsEmpty(PCItemIDList AList);
// Bytes including the terminator; 0 for nullptr.
size_t ILGetSize(PCItemIDList AList);
// Items before the terminator; 0 for nullptr.
size_t ILGetCount(PCItemIDList AList);
// New lists. ILClone of nullptr is nullptr; ILCombine takes nullptr as empty.
PItemIDList ILClone(PCItemIDList AList);
PItemIDList ILCombine(PCItemIDList AFirst, PCItemIDList ASecond);
// The last item (the terminator of an empty list).
PCItemIDList ILFindLastID(PCItemIDList AList);
// Ends the list before its last item, in place; false for an empty list or nullptr.
bool ILRemoveLastID(PItemIDList AList);

}  // namespace win

namespace shell {

// What an item of this namespace is.
enum TItemKind : Byte {
    ikComputer = 'C',
    ikHome = 'H',
    ikVolume = 'V',
    ikFolder = 'D',
    ikFile = 'F',
};

struct TItemID {
    TItemKind Kind = ikFile;
    AnsiString Text;
};

// A new one-item list.
win::PItemIDList MakeItemList(const TItemID& AItem);
// The first item of AList; none for the terminator or bytes of another kind.
std::optional<TItemID> ReadItem(win::PCItemIDList AList);

}  // namespace shell
