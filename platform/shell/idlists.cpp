#include "platform/shell/idlists.h"

#include <cstdlib>
#include <cstring>

namespace {

size_t ItemSize(win::PCItemIDList AItem) {
    return size_t(AItem[0]) | size_t(AItem[1]) << 8;
}

}  // namespace

namespace win {

PItemIDList SHAlloc(size_t ASize) {
    return ASize == 0 ? nullptr : static_cast<PItemIDList>(std::calloc(ASize, 1));
}

void SHFree(void* ABlock) {
    std::free(ABlock);
}

PCItemIDList ILGetNext(PCItemIDList AItem) {
    return AItem + ItemSize(AItem);
}

PItemIDList ILGetNext(PItemIDList AItem) {
    return AItem + ItemSize(AItem);
}

bool ILIsEmpty(PCItemIDList AList) {
    return !AList || ItemSize(AList) == 0;
}

size_t ILGetSize(PCItemIDList AList) {
    if (!AList) return 0;
    size_t size = 2;
    for (PCItemIDList item = AList; ItemSize(item) != 0; item = ILGetNext(item))
        size += ItemSize(item);
    return size;
}

size_t ILGetCount(PCItemIDList AList) {
    if (!AList) return 0;
    size_t count = 0;
    for (PCItemIDList item = AList; ItemSize(item) != 0; item = ILGetNext(item))
        ++count;
    return count;
}

PItemIDList ILClone(PCItemIDList AList) {
    if (!AList) return nullptr;
    const size_t size = ILGetSize(AList);
    PItemIDList copy = SHAlloc(size);
    if (copy) std::memcpy(copy, AList, size);
    return copy;
}

PItemIDList ILCombine(PCItemIDList AFirst, PCItemIDList ASecond) {
    const size_t first = AFirst ? ILGetSize(AFirst) - 2 : 0;
    const size_t second = ASecond ? ILGetSize(ASecond) : 2;
    PItemIDList out = SHAlloc(first + second);
    if (!out) return nullptr;
    if (first) std::memcpy(out, AFirst, first);
    if (ASecond) std::memcpy(out + first, ASecond, second);
    return out;
}

PCItemIDList ILFindLastID(PCItemIDList AList) {
    PCItemIDList last = AList;
    for (PCItemIDList item = AList; ItemSize(item) != 0; item = ILGetNext(item))
        last = item;
    return last;
}

bool ILRemoveLastID(PItemIDList AList) {
    if (ILIsEmpty(AList)) return false;
    auto* last = const_cast<PItemIDList>(ILFindLastID(AList));
    last[0] = last[1] = 0;
    return true;
}

}  // namespace win

namespace shell {

win::PItemIDList MakeItemList(const TItemID& AItem) {
    const size_t size = 3 + AItem.Text.size();
    win::PItemIDList list = win::SHAlloc(size + 2);
    list[0] = Byte(size);
    list[1] = Byte(size >> 8);
    list[2] = AItem.Kind;
    std::memcpy(list + 3, AItem.Text.data(), AItem.Text.size());
    return list;
}

std::optional<TItemID> ReadItem(win::PCItemIDList AList) {
    if (win::ILIsEmpty(AList)) return std::nullopt;
    const size_t size = ItemSize(AList);
    if (size < 3) return std::nullopt;
    const auto kind = static_cast<TItemKind>(AList[2]);
    if (kind != ikComputer && kind != ikHome && kind != ikVolume && kind != ikFolder && kind != ikFile)
        return std::nullopt;
    return TItemID{kind, AnsiString(reinterpret_cast<const char*>(AList + 3), size - 3)};
}

}  // namespace shell
