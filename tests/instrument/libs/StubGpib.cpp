// Stand-in GPIB libraries for the binding tests, built in two variants:
// TALVERN_STUB_NO_COUNT  has the status word and error code under every name but no byte count;
// otherwise              only the linux-gpib style data symbols, ibwrt, ibfind and ibonl (no ibdev,
//                        ibfindA, FindLstn, SendIFC or ibnotify).

extern "C" {

__attribute__((visibility("default"))) int ibsta = 0;
__attribute__((visibility("default"))) int iberr = 0;

#ifdef TALVERN_STUB_NO_COUNT
__attribute__((visibility("default"))) int user_ibsta = 0;
__attribute__((visibility("default"))) int user_iberr = 0;
__attribute__((visibility("default"))) int ThreadIbsta() { return ibsta; }
__attribute__((visibility("default"))) int ThreadIberr() { return iberr; }
#else
__attribute__((visibility("default"))) long ibcntl = 0;
#endif

// A write "transfers" its count plus 2^32, so that a binding reading the count as an int shows.
__attribute__((visibility("default"))) int ibwrt(int, const void*, long count)
{
    ibsta = 0x2100;
    iberr = 0;
#ifndef TALVERN_STUB_NO_COUNT
    ibcntl = count + (1L << 32);
#else
    (void)count;
#endif
    return ibsta;
}

#ifndef TALVERN_STUB_NO_COUNT
// The older name only: the binding's ibfindA falls back to it.
__attribute__((visibility("default"))) int ibfind(const char*)
{
    ibsta = 0x120;
    return 3;
}
#endif

__attribute__((visibility("default"))) int ibonl(int, int)
{
    ibsta = 0x100;
    return ibsta;
}
}
