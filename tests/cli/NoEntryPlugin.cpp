// A shared object with no VST 2 entry point.
extern "C" __attribute__((visibility("default"))) int notAPlugin()
{
    return 0;
}
