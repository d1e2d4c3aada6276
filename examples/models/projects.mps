* The model of projects.lp in free MPS. The objective row's right-hand
* side is minus the objective's constant.
NAME          PROJECTS
OBJSENSE
    MAX
ROWS
 N  value
 L  budget
 G  safety
 E  bridge
COLUMNS
    MARKER                 'MARKER'                 'INTORG'
    roads     value     4.5          budget    2
    roads     safety    1
    bridge_a  value     3            budget    1.5
    bridge_a  bridge    1
    bridge_b  value     3            budget    1.5
    bridge_b  bridge    -1
    school    value     2.25         budget    1
    clinic    value     6            budget    3
    clinic    safety    1
    park      value     2            budget    0.5
    MARKER                 'MARKER'                 'INTEND'
RHS
    rhs       value     -1.5         budget    6
    rhs       safety    1
ENDATA
