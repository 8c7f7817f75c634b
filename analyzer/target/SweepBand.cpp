#include "analyzer/target/SweepBand.h"

SweepBand& sweepBand()
{
    static SweepBand band;
    return band;
}
