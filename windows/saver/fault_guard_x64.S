# RunGuarded(body, context): calls body(context) in a frame whose exception
# handler is GuardHandler (fault_guard.cpp). When that handler takes a fault,
# it unwinds to GuardResume with 0 in rax.
    .text
    .globl RunGuarded
    .globl GuardResume
    .def RunGuarded; .scl 2; .type 32; .endef
    .seh_proc RunGuarded
RunGuarded:
    pushq %rbp
    .seh_pushreg %rbp
    movq %rsp, %rbp
    .seh_setframe %rbp, 0
    subq $32, %rsp
    .seh_stackalloc 32
    .seh_endprologue
    .seh_handler GuardHandler, @except
    movq %rcx, %rax
    movq %rdx, %rcx
    callq *%rax
    movl $1, %eax
GuardResume:
    movq %rbp, %rsp
    popq %rbp
    retq
    .seh_endproc
