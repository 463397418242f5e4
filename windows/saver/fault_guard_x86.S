# RunGuarded(body, context): calls body(context) with a frame-based exception
# registration whose handler is GuardHandler (fault_guard.cpp). When that
# handler takes a fault, it resumes at GuardResume with 0 in eax and esp at
# the registration.
    .text
    .globl _RunGuarded
    .globl _GuardResume
    .def _RunGuarded; .scl 2; .type 32; .endef
_RunGuarded:
    pushl %ebp
    movl %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    pushl $_GuardHandler          # the registration: handler,
    pushl %fs:0                   # and the one before it
    movl %esp, %fs:0
    pushl 12(%ebp)
    call *8(%ebp)
    addl $4, %esp
    movl $1, %eax
_GuardResume:
    popl %ecx
    movl %ecx, %fs:0
    addl $4, %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
