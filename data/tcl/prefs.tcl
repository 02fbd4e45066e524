# The pattern dialog. Requests, one item a line:
#   "Quoit V14.8", "NO", "", the converter-list line, the pattern load counter
#       show the dialog: the pattern directory to pick a file from, a field for a file name or a
#       siteswap, and a few converter options; the choices go into the preferences file
#       (jugglingfile= and the option keys), an empty jugglingfile= when the dialog is cancelled;
#       a choice with a line end is refused and the dialog stays;
#   "Quoit V14.8", a name, the name again, the converter-list line, 0
#       answer the siteswap of that line of the converter list q2.out (the name when the list
#       has no such line);
#   "Quoit NO_TRANS", the siteswap shown, the pattern file, the converter-list line, 0
#       a notice of the pattern being shown: nothing to do.
# Unattended (QUOIT_TEST_ANSWER set) the dialog takes the variable's value as typed: the file or
# siteswap, optionally followed by "|key=value" preference lines; an empty value cancels.
source tcl/qdialog.tcl

set prefsFile quoit.prefsV9
set optionKeys {objects sym hold multihand fre_ratio}

set request [split [qReadPassing] "\n"]
set kind [lindex $request 0]
set name [lindex $request 1]
set listLine [lindex $request 3]
qWriteAnswer ""

# The key of a preferences line, or "" for a comment, the header or a line without '='.
proc lineKey {line} {
    if {[string index $line 0] eq "!" || [string first = $line] < 0} {
        return ""
    }
    return [string trim [string range $line 0 [expr {[string first = $line] - 1}]]]
}

# The lines of the preferences file (none when it is missing), read once a dialog; fails when
# the file is there but cannot be read, which the program reports the first time.
proc readPrefsLines {} {
    global prefsFile prefsRead prefsBytes
    if {![info exists prefsRead]} {
        set prefsRead [catch {qReadUserFile $prefsFile} prefsBytes]
    }
    if {$prefsRead} {
        error "cannot read $prefsFile"
    }
    set text [string trimleft [encoding convertfrom utf-8 $prefsBytes] \ufeff]
    set lines [split [string trimright $text "\n"] "\n"]
    return [lmap line $lines {string trimright $line "\r"}]
}

# The value of a key in the preferences file, or the default.
proc prefValue {key default} {
    if {[catch {readPrefsLines} lines]} {
        return $default
    }
    foreach line $lines {
        if {[lineKey $line] eq $key} {
            set default [string trim [string range $line [expr {[string first = $line] + 1}] end]]
        }
    }
    return $default
}

# Writes the settings (a dict of key and value) into the preferences file: the program replaces
# the lines of those keys and keeps the others, writing through a temporary file that keeps the
# mode and a link; it reports a failure, and the dialog goes on. A file that cannot be read is
# never replaced. Gives 0 when the program refused the settings, because a key or value holds a
# line end that would add lines of its own to the file.
proc writePrefs {settings} {
    if {[catch {readPrefsLines}]} {
        return 1
    }
    return [expr {[qWritePrefs $settings] ne "refused"}]
}

# The siteswap of line number n (from 0) of the converter list: the middle one of three words.
# The list is read as the program reads it: a regular file within the size bound.
proc listSiteswap {n fallback} {
    if {![string is integer -strict $n] || [catch {qReadUserFile q2.out} bytes]} {
        return $fallback
    }
    set lines {}
    foreach line [split [encoding convertfrom utf-8 $bytes] "\n"] {
        if {[string trim $line] ne ""} {
            lappend lines [string trim $line]
        }
    }
    if {$n < 0 || $n >= [llength $lines]} {
        return $fallback
    }
    set words [regexp -all -inline {\S+} [lindex $lines $n]]
    if {[llength $words] >= 3} {
        return [lindex $words 1]
    }
    return [lindex $words 0]
}

proc patternDirectory {} {
    set directory [string map {\\ /} [prefValue patterndir m]]
    if {$directory eq ""} {
        set directory m
    }
    return [string trimright $directory /]
}

proc patternFiles {directory} {
    set names {}
    foreach path [glob -nocomplain -types f -directory $directory *] {
        set tail [file tail $path]
        if {[string index $tail end] ne "~"} {
            lappend names $tail
        }
    }
    return [lsort -dictionary $names]
}

# The choice ends the dialog: the pattern (empty when cancelled) and the option settings. A
# choice the preferences cannot hold is refused with a message: it gives 0 and the dialog stays.
proc choose {choice settings} {
    if {![writePrefs [dict merge $settings [dict create jugglingfile [string trim $choice]]]]} {
        return 0
    }
    destroy .
    return 1
}

# Unattended: "choice|key=value|key=value". A refused answer cancels the dialog.
proc answerUnattended {value} {
    set parts [split $value |]
    set settings [dict create]
    foreach part [lrange $parts 1 end] {
        set at [string first = $part]
        if {$at > 0} {
            dict set settings [string range $part 0 [expr {$at - 1}]] [string range $part [expr {$at + 1}] end]
        }
    }
    if {![choose [lindex $parts 0] $settings]} {
        choose "" {}
    }
}

proc chooseFromDialog {} {
    global choice objects sym hold multihand ratio
    set count [string trim $objects]
    if {![string is integer -strict $count]} {
        set count -1
    }
    set ratio [string trim $ratio]
    if {![string is double -strict $ratio]} {
        set ratio 0.0
    }
    set multihand [string trim $multihand]
    if {![string is integer -strict $multihand]} {
        set multihand 2
    }
    choose $choice [dict create objects $count sym $sym hold $hold multihand $multihand fre_ratio $ratio]
}

proc pickListed {list directory} {
    global choice
    set index [$list curselection]
    if {$index ne ""} {
        set choice $directory/[$list get $index]
    }
}

proc showDialog {counter} {
    global choice objects sym hold multihand ratio
    set directory [patternDirectory]
    set choice [prefValue jugglingfile ""]
    set objects [prefValue objects ""]
    set sym [expr {[prefValue sym 0] ne "0"}]
    set hold [expr {[prefValue hold 0] ne "0"}]
    set multihand [prefValue multihand 2]
    set ratio [prefValue fre_ratio 0.0]

    wm title . "quoit: pattern $counter"
    label .directory -text $directory/ -anchor w
    frame .files
    listbox .files.list -height 14 -width 40 -yscrollcommand {.files.scroll set}
    scrollbar .files.scroll -command {.files.list yview}
    foreach name [patternFiles $directory] {
        .files.list insert end $name
    }
    pack .files.list -side left -fill both -expand 1
    pack .files.scroll -side right -fill y
    bind .files.list <<ListboxSelect>> [list pickListed .files.list $directory]
    bind .files.list <Double-Button-1> chooseFromDialog

    entry .choice -textvariable choice -width 40
    frame .options
    label .options.objectsLabel -text objects
    entry .options.objects -textvariable objects -width 4
    label .options.handsLabel -text hands
    entry .options.hands -textvariable multihand -width 4
    label .options.ratioLabel -text ratio
    entry .options.ratio -textvariable ratio -width 6
    checkbutton .options.sym -text sym -variable sym
    checkbutton .options.hold -text hold -variable hold
    pack .options.objectsLabel .options.objects .options.handsLabel .options.hands \
        .options.ratioLabel .options.ratio .options.sym .options.hold -side left -padx 2

    frame .buttons
    button .buttons.ok -text [LT 20] -width 8 -command chooseFromDialog
    button .buttons.cancel -text Cancel -width 8 -command {choose "" {}}
    pack .buttons.ok .buttons.cancel -side left -padx 8

    pack .directory -fill x -padx 10 -pady {10 2}
    pack .files -fill both -expand 1 -padx 10
    pack .choice -fill x -padx 10 -pady 6
    pack .options -padx 10
    pack .buttons -pady 10
    bind .choice <Return> chooseFromDialog
    bind . <Escape> {choose "" {}}
    focus .choice
    qAnswerUnattended answerUnattended
}

if {$kind eq "Quoit NO_TRANS"} {
    destroy .
} elseif {$name ne "NO"} {
    qWriteAnswer [listSiteswap $listLine $name]
    destroy .
} else {
    showDialog [lindex $request 4]
}
