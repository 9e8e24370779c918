#include "core/Prompts.h"

QString applicationTitle()
{
    return QStringLiteral("Corvane Display Configuration Editor");
}
