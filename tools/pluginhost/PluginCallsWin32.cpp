// Calls into a 32-bit Windows plug-in with the stack 4, 8 or 12 bytes away from the 16-byte
// boundary, in turn, as hosts built with other compilers leave it.
#include "PluginCalls.h"

#include <cstdint>
#include <cstring>

// stack_offset_call(function, arguments, count, offset) calls the cdecl `function` with `count`
// 4-byte arguments, the stack pointer at the call being `offset` bytes above a 16-byte boundary,
// and returns what the function left in eax (or, declared as returning float, on the x87 stack).
extern "C" std::uint32_t stack_offset_call(const void* function, const std::uint32_t* arguments, int count, int offset);

asm(R"(
    .text
    .globl _stack_offset_call
_stack_offset_call:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
    leal (,%ecx,4), %edx
    movl %esp, %eax
    subl %edx, %eax
    subl $16, %eax
    andl $-16, %eax
    addl 20(%ebp), %eax
    movl %eax, %esp
    movl %esp, %edi
    cld
    rep movsl
    call *8(%ebp)
    leal -8(%ebp), %esp
    popl %edi
    popl %esi
    popl %ebp
    ret
)");

namespace plugin_calls {

namespace {

int g_call = 0;
bool g_aligned = false;

template <class Function, class... Arguments>
std::uint32_t call(Function function, Arguments... arguments)
{
    static_assert(((sizeof(Arguments) == 4) && ...), "every argument takes one stack slot");
    std::uint32_t words[sizeof...(Arguments)];
    int at = 0;
    ((std::memcpy(&words[at++], &arguments, 4)), ...);
    const int offset = g_aligned ? 0 : 4 + 4 * (g_call++ % 3);
    return stack_offset_call(reinterpret_cast<const void*>(function), words, static_cast<int>(sizeof...(Arguments)), offset);
}

} // namespace

AEffect* entry(PluginModule::Entry entry, audioMasterCallback callback)
{
    return reinterpret_cast<AEffect*>(call(entry, callback));
}

VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    return static_cast<VstIntPtr>(call(effect->dispatcher, effect, opcode, index, value, ptr, opt));
}

void processReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames)
{
    call(effect->processReplacing, effect, inputs, outputs, frames);
}

void keepStackAligned()
{
    g_aligned = true;
}

} // namespace plugin_calls
