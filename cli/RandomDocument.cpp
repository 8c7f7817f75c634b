#include "cli/RandomDocument.h"

#include "data/ApplicationData.h"
#include "data/RandomGenerator.h"
#include "data/TalDocument.h"

void FillRandomDocument(CTalDocument& document, int channels, int count,
                        std::optional<uint32_t> seed)
{
    document.OnNewDocument();
    if (seed) {
        // The same advance a new document makes after seeding from the clock.
        processRandom().Seed(*seed);
        for (int i = 0; i < 6; ++i)
            processRandom().Next();
    }
    appData().channelCount = channels;
    for (int i = 0; i < count; ++i)
        document.AddRandomData();
}
