# The start-notation requester. Request: the siteswap and the number of hands, one a line.
# Answer: "pattern hands start - count - count ...", the start sequence "-" for none and one
# count of objects per hand at the start (hands 0 to J-1 the jugglers' right hands, then their
# left hands); "-1" when the user cancels.
# Unattended (QUOIT_TEST_ANSWER set): 1 takes the pattern with the counts worked out below, 2
# cancels, any other value is taken as the whole answer.
source tcl/qdialog.tcl

set request [split [qReadPassing] "\n"]
set pattern [lindex $request 0]
set hands [lindex $request 1]
if {![string is integer -strict $hands] || $hands < 2 || $hands > 6} {
    set hands 2
}
set start ""
qWriteAnswer -1

# The value of a throw character: 0-9, then a-z for 10 to 35; -1 for anything else.
proc throwValue {c} {
    if {[string is digit $c]} {
        return $c
    }
    set c [string tolower $c]
    if {[string match {[a-z]} $c]} {
        return [expr {[scan $c %c] - [scan a %c] + 10}]
    }
    return -1
}

# How many objects each hand holds at the start of a plain (one throw a beat) siteswap: every
# throw that no earlier throw lands in takes a new object. Throw b is made by hand b mod hands.
proc startCounts {pattern hands} {
    set counts [lrepeat $hands 0]
    set length [string length $pattern]
    set values {}
    foreach c [split $pattern ""] {
        set v [throwValue $c]
        if {$v < 0} {
            return $counts
        }
        lappend values $v
    }
    if {$length == 0} {
        return $counts
    }
    set beats [expr {$length * $hands * 2 + 36}]
    set landing [dict create]
    for {set b 0} {$b < $beats} {incr b} {
        set v [lindex $values [expr {$b % $length}]]
        if {$v == 0} {
            continue
        }
        if {[dict exists $landing $b]} {
            dict incr landing $b -1
            if {[dict get $landing $b] == 0} {
                dict unset landing $b
            }
        } else {
            set hand [expr {$b % $hands}]
            lset counts $hand [expr {[lindex $counts $hand] + 1}]
        }
        dict incr landing [expr {$b + $v}]
    }
    return $counts
}

set counts [startCounts $pattern $hands]
for {set h 0} {$h < $hands} {incr h} {
    set count($h) [lindex $counts $h]
}

proc answerText {} {
    global pattern hands start count
    set startWord [string trim $start]
    if {$startWord eq ""} {
        set startWord -
    } else {
        append startWord " -"
    }
    set list {}
    for {set h 0} {$h < $hands} {incr h} {
        lappend list [string trim $count($h)]
    }
    return "[string trim $pattern] $hands $startWord [join $list { - }]"
}

proc answer {text} {
    qWriteAnswer $text
    destroy .
}

proc answerUnattended {value} {
    switch -- $value {
        1 {answer [answerText]}
        2 {answer -1}
        default {answer $value}
    }
}

wm title . [LT 25]
frame .form
label .form.patternLabel -text Siteswap
entry .form.pattern -textvariable pattern -width 30
label .form.startLabel -text Start
entry .form.start -textvariable start -width 30
grid .form.patternLabel .form.pattern -sticky w -padx 4 -pady 2
grid .form.startLabel .form.start -sticky w -padx 4 -pady 2
set jugglerCount [expr {$hands / 2}]
for {set h 0} {$h < $hands} {incr h} {
    set juggler [format %c [expr {65 + $h % $jugglerCount}]]
    set side [expr {$h < $jugglerCount ? "R" : "L"}]
    label .form.label$h -text "$juggler $side"
    entry .form.count$h -textvariable count($h) -width 4
    grid .form.label$h .form.count$h -sticky w -padx 4 -pady 2
}
frame .buttons
button .buttons.ok -text [LT 20] -width 8 -command {answer [answerText]}
button .buttons.cancel -text [LT 70] -width 8 -command {answer -1}
pack .buttons.ok .buttons.cancel -side left -padx 8
pack .form -padx 14 -pady 12
pack .buttons -pady 10
bind . <Return> {answer [answerText]}
bind . <Escape> {answer -1}
focus .form.pattern
qAnswerUnattended answerUnattended
