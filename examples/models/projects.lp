\ Which projects to fund: the most value within the budget, at least one
\ of roads and clinic, both halves of the bridge or neither.
\ projects.mps and projects.opb hold the same model.
Maximize
 value: 18 roads + 12 bridge_a + 12 bridge_b + 9 school + 24 clinic + 8 park
Subject To
 budget: 4 roads + 3 bridge_a + 3 bridge_b + 2 school + 6 clinic + park <= 12
 safety: roads + clinic >= 1
 bridge: bridge_a - bridge_b = 0
Binary
 roads bridge_a bridge_b school clinic park
End
