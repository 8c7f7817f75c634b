#include "data/ApplicationData.h"

ApplicationData& appData()
{
    static ApplicationData instance;
    return instance;
}
