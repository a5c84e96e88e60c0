// A library for the loader's tests. Built twice: as it is, and with a call to a function that
// nothing defines, which keeps it from loading at all.
extern "C" __attribute__((visibility("default"))) int fixtureAnswer() {
    return 42;
}

#ifdef HALDA_FIXTURE_UNRESOLVED
extern "C" int functionNobodyDefines();
extern "C" __attribute__((visibility("default"))) int fixtureBroken() {
    return functionNobodyDefines();
}
#endif
