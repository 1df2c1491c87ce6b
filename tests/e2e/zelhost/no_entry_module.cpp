// A loadable library without ZelMain, for zelhost's refusal of a module that is none.
extern "C" __attribute__((visibility("default"))) int NotTheDriverEntry(void) {
    return 0;
}
