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
    std::memcpy(systemBlock, other.systemBlock, sizeof systemBlock);
    std::memcpy(configBlock, other.configBlock, sizeof configBlock);
    std::memcpy(calCurve, other.calCurve, sizeof calCurve);
}

#if defined(__x86_64__) && defined(__GLIBCXX__)
// A member added to EditorState or one of its small objects changes its size: add it to
// that object's list of values too (or the operations' copy of the state never hands it
// to the windows), then update the size here.
static_assert(sizeof(EditorState) == 16096, "EditorState changed: update CORVANE_EDITOR_STATE_VALUES");
static_assert(sizeof(LinkState) == 3, "LinkState changed: update CORVANE_LINK_STATE_VALUES");
static_assert(sizeof(InstrumentIdentity) == 176, "update CORVANE_INSTRUMENT_IDENTITY_VALUES");
static_assert(sizeof(EditorSession) == 208, "EditorSession changed: update CORVANE_EDITOR_SESSION_VALUES");
static_assert(sizeof(TransferChoices) == 64, "TransferChoices changed: update CORVANE_TRANSFER_CHOICES_VALUES");
static_assert(sizeof(FactorySession) == 64, "FactorySession changed: update CORVANE_FACTORY_SESSION_VALUES");
static_assert(sizeof(NmeaSession) == 3, "NmeaSession changed: update CORVANE_NMEA_SESSION_VALUES");
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

// The small objects merge field by field: the port chosen in the windows and the
// connection the operation made are both kept.
#define CORVANE_MERGE_FIELD(field) mergeValue(target.field, base.field, changed.field);
#define CORVANE_MERGE_STRUCT(Type, VALUES)                                                                             \
    template <> void mergeValue(Type &target, const Type &base, const Type &changed)                                   \
    {                                                                                                                  \
        VALUES(CORVANE_MERGE_FIELD)                                                                                    \
    }
CORVANE_MERGE_STRUCT(LinkState, CORVANE_LINK_STATE_VALUES)
CORVANE_MERGE_STRUCT(InstrumentIdentity, CORVANE_INSTRUMENT_IDENTITY_VALUES)
CORVANE_MERGE_STRUCT(EditorSession, CORVANE_EDITOR_SESSION_VALUES)
CORVANE_MERGE_STRUCT(TransferChoices, CORVANE_TRANSFER_CHOICES_VALUES)
CORVANE_MERGE_STRUCT(FactorySession, CORVANE_FACTORY_SESSION_VALUES)
CORVANE_MERGE_STRUCT(NmeaSession, CORVANE_NMEA_SESSION_VALUES)
#undef CORVANE_MERGE_STRUCT
#undef CORVANE_MERGE_FIELD
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
