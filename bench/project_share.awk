# awk -v passes=N -f project_share.awk PROFILE: from callgrind's profile of
# the passes, the instructions' share by object file, project code's share,
# its busiest functions and its allocation calls per pass. Project code: the
# bench binary's functions (bramblewick_core is linked in) but the harness's,
# with the C and C++ runtime they call.

# callgrind writes a name once as "(id) name", then only as "(id)".
function expand(table, value,    id) {
    id = value
    sub(/\).*/, ")", id)
    if (value != id) table[id] = substr(value, length(id) + 2)
    return table[id]
}
function value() { return substr($0, index($0, "=") + 1) }
function basename(path) { sub(/.*\//, "", path); return path }
function isProject(object, name) {
    return object ~ /\/bramblewick_bench$/ && name !~ /^(bench::|main$|\(below main\))/
}

/^c?ob=/ { objects[$0 ~ /^ob/] = expand(objectNames, value()) }
/^c?fn=/ { functions[$0 ~ /^fn/] = expand(functionNames, value()) }
/^calls=/ { calls = value() + 0; next }
/^[0-9+*-]/ {
    ob = objects[1]; fn = functions[1]
    if (calls == "") {  # the function's own instructions
        own[ob] += $NF
        total += $NF
        if (isProject(ob, fn)) project[fn] += $NF
    } else if (isProject(ob, fn)) {  # a call, with what the callee and its callees took
        callee = objects[0] == "" ? ob : objects[0]
        if (callee ~ /\/lib(c|m|stdc\+\+|gcc_s)[.-][^\/]*$/) runtime += $NF
        if (functions[0] ~ /^(malloc|calloc|realloc|operator new)/) allocations += calls
    }
    if (calls != "") objects[0] = calls = ""
}

END {
    if (total == 0) { print "no instructions in the profile"; exit 1 }
    printf "%d passes, %.0f instructions\n\nown instructions by object file:\n", passes, total
    for (o in own) printf "  %6.2f %%  %s\n", 100 * own[o] / total, basename(o) | "sort -rn"
    close("sort -rn")
    print "\nbusiest project functions:"
    for (f in project) {
        printf "  %6.3f %%  %.90s\n", 100 * project[f] / total, f | "sort -rn | head -5"
        runtime += project[f]
    }
    close("sort -rn | head -5")
    printf "\nproject code with the runtime it calls: %.2f %%\n", 100 * runtime / total
    printf "allocation calls by project code: %d, %.1f per pass\n", allocations, allocations / passes
}
