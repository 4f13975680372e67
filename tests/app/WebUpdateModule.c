/* Stand-in for the web-update library, with or without its entry: the test program that
   loads it counts the calls. */
void CorvaneWebCalled(void);
#ifdef WITHOUT_ENTRY
#define MirelWebGetInfo MirelWebOtherEntry
#endif
int MirelWebGetInfo(void)
{
    CorvaneWebCalled();
    return 1;
}
