#include "core/EditorState.h"

#include <cstring>

namespace
{
template <class T> void assignValue(T &to, const T &from)
{
    to = from;
}

template <class T, std::size_t N> void assignValue(T (&to)[N], const T (&from)[N])
{
    for (std::size_t i = 0; i < N; ++i)
        assignValue(to[i], from[i]);
}
} // namespace

void EditorState::copyImageFrom(const EditorState &other)
{
    std::memcpy(SystemBlock, other.SystemBlock, sizeof SystemBlock);
    std::memcpy(ConfigBlock, other.ConfigBlock, sizeof ConfigBlock);
    std::memcpy(CalCurve, other.CalCurve, sizeof CalCurve);
}

#if defined(__x86_64__) && defined(__GLIBCXX__)
// A member added to EditorState changes its size: add it to CORVANE_EDITOR_STATE_VALUES
// too (or the operations' copy of the state never hands it to the windows), then
// update the size here.
static_assert(sizeof(EditorState) == 16104, "EditorState changed: update CORVANE_EDITOR_STATE_VALUES");
#endif

void EditorState::assignValuesFrom(const EditorState &other)
{
#define CORVANE_ASSIGN(member) assignValue(member, other.member);
    CORVANE_EDITOR_STATE_VALUES(CORVANE_ASSIGN)
#undef CORVANE_ASSIGN
}

namespace
{
template <class T> void mergeValue(T &target, const T &base, const T &changed)
{
    if (!(changed == base))
        target = changed;
}

template <class T, std::size_t N> void mergeValue(T (&target)[N], const T (&base)[N], const T (&changed)[N])
{
    for (std::size_t i = 0; i < N; ++i)
        mergeValue(target[i], base[i], changed[i]);
}
} // namespace

void mergeChangedValues(EditorState &target, const EditorState &base, const EditorState &changed)
{
#define CORVANE_MERGE(member) mergeValue(target.member, base.member, changed.member);
    CORVANE_EDITOR_STATE_VALUES(CORVANE_MERGE)
#undef CORVANE_MERGE
}

quint8 systemBlockChecksum(const quint8 *block)
{
    quint8 x = 0;
    for (int i = 1; i <= 255; ++i)
        x ^= block[i];
    return x;
}

quint8 configBlockChecksum(const quint8 *block)
{
    quint8 x = 0;
    for (int i = 1; i <= 127; ++i)
        x ^= block[i];
    return x;
}
