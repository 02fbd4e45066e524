# The information and progress window of quoit's dialog thread.
# The program calls qMsgInfo to show the text of tmp/info.txt and Progress with a percentage.
# The information file is read through the program's qReadUserFile: a regular file only, with a
# bound, so nothing put in its place stops the window.
# The script builds the window and returns; the thread then serves its events. Closing the
# window ends the program.
# When QUOIT_TCL_TRACE names a file, every text shown and every progress value is also
# appended to it (tests read it).

wm title . "quoit information"
wm minsize . 320 120

frame .top
text .top.info -width 64 -height 10 -wrap word -state disabled \
    -yscrollcommand {.top.scroll set}
scrollbar .top.scroll -command {.top.info yview}
pack .top.scroll -side right -fill y
pack .top.info -side left -fill both -expand 1
pack .top -side top -fill both -expand 1

canvas .bar -height 16 -highlightthickness 0 -relief sunken -borderwidth 1
pack .bar -side top -fill x -padx 4 -pady 4
.bar create rectangle 0 0 0 16 -fill "#3070c0" -outline "" -tags done
.bar create text 4 9 -anchor w -text "" -tags percent

proc traceLine {line} {
    if {![info exists ::env(QUOIT_TCL_TRACE)]} return
    set out [open $::env(QUOIT_TCL_TRACE) a]
    fconfigure $out -encoding utf-8
    puts $out $line
    close $out
}

proc qMsgInfo {} {
    if {[catch {encoding convertfrom utf-8 [qReadUserFile tmp/info.txt]} message]} return
    .top.info configure -state normal
    if {[.top.info index end-1c] ne "1.0"} {
        .top.info insert end "\n"
    }
    .top.info insert end [string trimright $message "\n"]
    set lines [lindex [split [.top.info index end] .] 0]
    if {$lines > 500} {
        .top.info delete 1.0 [expr {$lines - 500}].0
    }
    .top.info see end
    .top.info configure -state disabled
    traceLine "info: $message"
}

proc Progress {pct} {
    if {![string is integer -strict $pct]} return
    if {$pct < 0} {set pct 0}
    if {$pct > 100} {set pct 100}
    set width [winfo width .bar]
    .bar coords done 0 0 [expr {$width * $pct / 100}] 16
    .bar itemconfigure percent -text "$pct %"
    traceLine "progress: $pct"
}
