\ Which projects to fund: the most value within the budget, at least one
\ of roads and clinic, both halves of the bridge or neither. The value
\ includes 1.5 already committed.
Maximize
 value: 4.5 roads + 3 bridge_a + 3 bridge_b + 2.25 school + 6 clinic + 2 park + 1.5
Subject To
 budget: 2 roads + 1.5 bridge_a + 1.5 bridge_b + school + 3 clinic + 0.5 park <= 6
 safety: roads + clinic >= 1
 bridge: bridge_a - bridge_b = 0
Binary
 roads bridge_a bridge_b school clinic park
End
