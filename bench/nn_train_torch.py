#!/usr/bin/python3
"""PyTorch's training rate on the network nn-train fits, to weigh it against nn-train's.

Reads the first positions of a data file of nn-datagen (docs/nn-data.md), fits the same network
(768 inputs a side, a shared feature transformer of --hidden neurons, clipped ReLU, one output)
with the same loss, batch and optimiser, and prints the positions a second of the training steps
alone (reading the file is not counted). Needs Debian's python3-torch:

    /usr/bin/python3 bench/nn_train_torch.py /work/data/selfplay.nnd --positions 200000 --threads 2
"""

import argparse
import struct
import sys
import time

import torch

HEADER = struct.Struct("<8sHH")
RECORD = struct.Struct("<Q16shBBHBB")
EVAL_SCALE = 400.0


def input_index(code, square, white_view):
    black = code >= 8
    kind = code - 8 if black else code
    own = black != white_view
    seen = square if white_view else square ^ 56
    return (0 if own else 384) + (kind - 1) * 64 + seen


def read_positions(path, limit):
    """The inputs of each side to move and of the other side, the scores and the results."""
    own, other, scores, results = [], [], [], []
    with open(path, "rb") as data:
        magic, version, size = HEADER.unpack(data.read(HEADER.size))
        if magic != b"VEKNNPOS" or version != 1 or size != RECORD.size:
            sys.exit(f"{path}: not a data file of nn-datagen, version 1")
        while len(scores) < limit:
            raw = data.read(RECORD.size)
            if len(raw) < RECORD.size:
                break
            occupancy, codes, score, result, side, _, _, _ = RECORD.unpack(raw)
            squares = [s for s in range(64) if occupancy >> s & 1]
            figures = [(codes[i // 2] >> (4 * (i % 2))) & 15 for i in range(len(squares))]
            white_to_move = side == 0
            own.append([input_index(f, s, white_to_move) for f, s in zip(figures, squares)])
            other.append([input_index(f, s, not white_to_move) for f, s in zip(figures, squares)])
            scores.append(score)
            results.append(result / 2.0)
    return own, other, torch.tensor(scores, dtype=torch.float32), torch.tensor(results)


class Network(torch.nn.Module):
    def __init__(self, hidden):
        super().__init__()
        self.transformer = torch.nn.EmbeddingBag(768, hidden, mode="sum")
        self.bias = torch.nn.Parameter(torch.zeros(hidden))
        self.output = torch.nn.Linear(2 * hidden, 1)

    def forward(self, own, own_offsets, other, other_offsets):
        mine = self.transformer(own, own_offsets) + self.bias
        theirs = self.transformer(other, other_offsets) + self.bias
        return self.output(torch.clamp(torch.cat([mine, theirs], dim=1), 0.0, 1.0)).squeeze(1)


def bag(lists):
    """A batch's inputs as one flat tensor and each position's offset in it."""
    offsets = torch.tensor([0] + [len(inputs) for inputs in lists[:-1]]).cumsum(0)
    return torch.tensor([i for inputs in lists for i in inputs]), offsets


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("data")
    parser.add_argument("--positions", type=int, default=200000)
    parser.add_argument("--hidden", type=int, default=256)
    parser.add_argument("--batch", type=int, default=16384)
    parser.add_argument("--lambda", dest="blend", type=float, default=0.75)
    parser.add_argument("--threads", type=int, default=2)
    args = parser.parse_args()

    torch.manual_seed(1)
    torch.set_num_threads(args.threads)
    own, other, scores, results = read_positions(args.data, args.positions)
    targets = args.blend * torch.sigmoid(scores / EVAL_SCALE) + (1 - args.blend) * results
    batches = []
    for first in range(0, len(own), args.batch):
        last = first + args.batch
        batches.append((*bag(own[first:last]), *bag(other[first:last]), targets[first:last]))

    network = Network(args.hidden)
    optimiser = torch.optim.Adam(network.parameters(), lr=0.001)
    start = time.perf_counter()
    for own_inputs, own_offsets, other_inputs, other_offsets, target in batches:
        optimiser.zero_grad()
        output = network(own_inputs, own_offsets, other_inputs, other_offsets)
        loss = torch.mean((torch.sigmoid(output) - target) ** 2)
        loss.backward()
        optimiser.step()
    seconds = time.perf_counter() - start
    print(f"torch {torch.__version__}: {len(own)} positions, hidden {args.hidden}, batch {args.batch}, "
          f"{args.threads} threads: {seconds:.1f} s, {len(own) / seconds:.0f} positions/s, last loss {loss.item():.6f}")


if __name__ == "__main__":
    main()
