# The analysis workload: a script of exactly LINES lines (default 100000), a
# main part of blocks that use most instructions, labels and comments, then
# the procedures that the blocks call.
#
#   awk -v LINES=100000 -f bench/long-script.awk > long.tur
function name(prefix, n,    s, d) {
    s = ""
    do { d = n % 10; s = substr("abcdefghij", d + 1, 1) s; n = int(n / 10) } while (n > 0)
    return prefix s
}
BEGIN {
    if (LINES == "") LINES = 100000
    procs = 1000
    mainLines = LINES - 1 - procs * 3
    print "Tur=Asm"
    n = 1
    block = 0
    while (n + 12 <= mainLines) {
        label = name("top", block)
        printf "# block %d: a counted loop and a call\n", block
        print "CX: 3;"
        print "define: " label ";"
        print "AX: AX+1;          # one more"
        print "BX: AX % 7;"
        print "push: BX;"
        print "pop: DX;"
        print "jmpe: AX, BX, " label ";"
        print "move: 5;"
        print "right: 10;"
        print "loop: " label ";"
        print "call: " name("proc", block % procs) ";"
        n += 12
        block++
    }
    while (n < mainLines) { print "write: N;"; n++ }
    print "end;"
    for (p = 0; p < procs; p++) {
        print "proc: " name("proc", p) ";"
        print "left: 1;"
        print "ret;"
    }
}
