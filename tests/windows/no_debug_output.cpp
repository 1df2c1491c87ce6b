// GoogleTest calls OutputDebugStringA for every failed assertion; under wine on qemu that call
// crashes the test program. This import slot points at a no-op instead: the linker takes it
// from this object, not from libkernel32.a, so GoogleTest's dllimport call lands here.
#if defined(_WIN32)
extern "C" {
static void __stdcall NoDebugOutput(const char*) {}
void(__stdcall* noDebugOutputSlot)(const char*) __asm__("__imp__OutputDebugStringA@4") =
    NoDebugOutput;
}
#endif
