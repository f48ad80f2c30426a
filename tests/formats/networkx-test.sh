#!/usr/bin/env bash
# The GraphML pathloom-run writes is read by networkx, as users of graph libraries read it:
# labels that XML must escape, a Latin-1 letter, kinds and weights; and a stochastic graph that
# networkx makes imports and runs. Skipped (77) where python3
# with networkx is missing.
set -euo pipefail
runner=$1
python3 -c 'import networkx' 2>/dev/null || { echo "python3 with networkx is missing"; exit 77; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
printf '%s\n' 'source,target,weight,kind' '"q""uote",back\slash,0.1,simple' \
  'back\slash,a&b<c,0.2,unidirectional' 'a&b<c,Zürich,0.3,bidirectional' > "$out/in.csv"
"$runner" "$out/in.csv" --export "$out/out.graphml" > /dev/null
python3 - "$out/out.graphml" <<'PY'
import sys, networkx as nx
g = nx.read_graphml(sys.argv[1])
e = g.edges['n1', 'n2']
got = (g.number_of_nodes(), g.number_of_edges(), g.is_directed(), e['weight'], e['kind'],
       [g.nodes[n]['label'] for n in g], 'x' in g.nodes['n0'] and 'y' in g.nodes['n0'])
want = (4, 3, True, 0.2, 'unidirectional', ['q"uote', 'back\\slash', 'a&b<c', 'Zürich'], True)
if got != want:
    sys.exit(f"networkx read {got}, not {want}")
PY

# A stochastic road graph made with networkx: its length attribute holds each link's distribution,
# and the run finds the shortest path in expectation (a-b-d, 2 + 3 against 4 + 2.5).
python3 - "$out/roads.graphml" <<'PY'
import sys, networkx as nx
g = nx.DiGraph()
g.add_edge('a', 'b', length='uniform(1, 3)')
g.add_edge('b', 'd', length='normal(3, 0.5)')
g.add_edge('a', 'c', length='exponential(4)')
g.add_edge('c', 'd', length='discrete(2:1, 3:1)')
nx.write_graphml(g, sys.argv[1])
PY
"$runner" "$out/roads.graphml" --method sample --source a --dest d --samples 50 --json \
  --quiet > "$out/run.json"
python3 - "$out/run.json" <<'PY'
import sys, json
run = json.load(open(sys.argv[1]))
got = (run['status'], run['expectedShortestPath'], run['expectedShortestCost'], run['linkDraws'] > 0)
want = ('ok', 'a->b:b->d:', 5, True)
if got != want:
    sys.exit(f"the stochastic run gave {got}, not {want}")
PY
