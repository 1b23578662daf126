#include "platform/japanesecollator.h"

#include <QLocale>

namespace tovik {

JapaneseCollator::JapaneseCollator() : collator(QLocale(QLocale::Japanese))
{
    collator.setNumericMode(true);
}

}  // namespace tovik
