* The model of projects.lp in MPS.
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
    roads     value     18           budget    4
    roads     safety    1
    bridge_a  value     12           budget    3
    bridge_a  bridge    1
    bridge_b  value     12           budget    3
    bridge_b  bridge    -1
    school    value     9            budget    2
    clinic    value     24           budget    6
    clinic    safety    1
    park      value     8            budget    1
    MARKER                 'MARKER'                 'INTEND'
RHS
    rhs       budget    12
    rhs       safety    1
ENDATA
