/* Stand-in for the web-update library: each call of its entry is counted by the test
   program, which outlives the library. Built once with the entry and once without. */
void CorvaneWebCalled(void);

#ifdef WITHOUT_ENTRY
int MirelWebOtherEntry(void)
#else
int MirelWebGetInfo(void)
#endif
{
    CorvaneWebCalled();
    return 1;
}
